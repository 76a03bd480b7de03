#include "controls/BlueCommand_Draw.h"

#include <array>

using Draw::ColorRef;

namespace BlueCommand_Draw {

namespace {

constexpr ColorRef None = 0xFFFFFFFFu; // pixel left unpainted
constexpr int Rows = FaceHeight;

using Column = std::array<ColorRef, Rows>;

struct Face
{
    Column body;
    std::array<Column, 3> left;  // x = 0, 1, 2
    std::array<Column, 3> right; // x = W-3, W-2, W-1
};

// Fills rows [from, to] of a column.
void run(Column &c, int from, int to, ColorRef color)
{
    for (int r = from; r <= to; ++r)
        c[r] = color;
}

// Corner rows 0-2 and 20-22 of three cap columns.
void corners(std::array<Column, 3> &cap, const std::array<std::array<ColorRef, 3>, 6> &rows)
{
    static constexpr int rowIndex[6] = {0, 1, 2, 20, 21, 22};
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 3; ++k)
            cap[k][rowIndex[i]] = rows[i][k];
}

Column bodyRamp(const std::array<ColorRef, Rows> &values)
{
    return values;
}

Face normalFace()
{
    Face f;
    f.body =
        bodyRamp({0x312521, 0xFFFEFA, 0xFFFAF7, 0xFFFBF8, 0xF9FAF8, 0xFCFDFB, 0xFAF8F7, 0xF5F3F2,
                  0xFBF1F1, 0xF9EFEF, 0xFCECED, 0xFBEBEC, 0xFCEAE9, 0xFCEAE9, 0xF9EAE7, 0xF8E9E6,
                  0xF5E9E3, 0xF3E7E1, 0xFFE4DF, 0xFADDD8, 0xFBCCC8, 0xE6B7B3, 0x5A221D});
    run(f.left[0], 3, 19, 0x5A2118);
    run(f.right[2], 3, 19, 0x5A2118);
    corners(f.left, {{{None, 0xD66352, 0x843121},
                      {0xD66352, 0xC64A31, 0xEFBDB5},
                      {0x843121, 0xEFBDB5, 0xFFFFFF},
                      {0x732918, 0xE7ADA5, 0xF7CEC6},
                      {0xCE4A39, 0xAD4229, 0xDE8C7B},
                      {None, 0xD66352, 0x843121}}});
    corners(f.right, {{{0x732918, 0xCE5239, None},
                       {0xF7D6CE, 0xC64A31, 0xD66352},
                       {0xFFFFFF, 0xEFBDAD, 0x843121},
                       {0xEFC6BD, 0xE79C94, 0x732918},
                       {0xE7948C, 0xAD3929, 0xCE5242},
                       {0x732918, 0xCE5242, None}}});
    for (int k = 1; k <= 2; ++k) {
        Column &c = f.left[k];
        run(c, 3, 5, 0xFFFFF7);
        run(c, 6, 6, 0xFFF7F7);
        run(c, 7, 7, k == 1 ? 0xFFF7EF : 0xFFEFEF);
        run(c, 8, 10, 0xFFEFEF);
        run(c, 11, 13, 0xFFEFE7);
        run(c, 14, 17, 0xFFE7E7);
        run(c, 18, 18, 0xF7E7DE);
        run(c, 19, 19, 0xF7DEDE);
    }
    Column &r0 = f.right[0];
    run(r0, 3, 5, 0xFFFFFF);
    run(r0, 6, 6, 0xFFEFEF);
    run(r0, 7, 7, 0xFFE7E7);
    run(r0, 8, 11, 0xF7E7DE);
    run(r0, 12, 15, 0xF7DEDE);
    run(r0, 16, 18, 0xF7DED6);
    run(r0, 19, 19, 0xF7D6CE);
    Column &r1 = f.right[1];
    run(r1, 3, 5, 0xFFEFEF);
    run(r1, 6, 6, 0xF7E7DE);
    run(r1, 7, 7, 0xF7DEDE);
    run(r1, 8, 9, 0xF7DED6);
    run(r1, 10, 12, 0xF7D6D6);
    run(r1, 13, 18, 0xF7D6CE);
    run(r1, 19, 19, 0xEFC6BD);
    return f;
}

// The two-pixel rim inside the border: columns 1, 2, W-3, W-2 in rows 3-19,
// columns 2 and W-3 also in rows 2 and 20.
void applyRim(Face &f, const Column &rim)
{
    for (int r = 3; r <= 19; ++r) {
        f.left[1][r] = f.left[2][r] = rim[r];
        f.right[0][r] = f.right[1][r] = rim[r];
    }
    for (int r : {2, 20}) {
        f.left[2][r] = rim[r];
        f.right[0][r] = rim[r];
    }
}

Face hoverFace()
{
    Face f = normalFace();
    f.body =
        bodyRamp({0x001E3B, 0xBBDBF8, 0xBBD5D5, 0xE4FEFE, 0xF5FFF2, 0xF7FFF4, 0xFFF8F8, 0xFDF3F3,
                  0xFEEDF6, 0xFCEBF4, 0xFAEEEA, 0xF9EDE9, 0xFAEDE5, 0xFAEDE5, 0xFBE9EA, 0xFAE8E9,
                  0xF0ECE1, 0xEFEBE0, 0xFFE4DB, 0xFFDED5, 0x28B7F5, 0x0B9AD8, 0x53241C});
    Column rim{};
    run(rim, 2, 5, 0x84D6FF);
    run(rim, 6, 6, 0x7BD6FF);
    run(rim, 7, 8, 0x73CEFF);
    run(rim, 9, 10, 0x6BCEFF);
    run(rim, 11, 12, 0x63C6FF);
    run(rim, 13, 13, 0x5AC6FF);
    run(rim, 14, 14, 0x52C6FF);
    run(rim, 15, 15, 0x52BDFF);
    run(rim, 16, 16, 0x4ABDFF);
    run(rim, 17, 18, 0x42BDFF);
    run(rim, 19, 19, 0x39B5FF);
    run(rim, 20, 20, 0x31B5FF);
    applyRim(f, rim);
    f.right[2][0] = 0xC0C0C0;
    return f;
}

Face defaultFace()
{
    Face f = normalFace();
    f.body =
        bodyRamp({0x34261A, 0xE0D2C6, 0xCDC7BC, 0xFFFDF2, 0xFEFBF6, 0xFFFCF7, 0xFEFAF9, 0xF7F3F2,
                  0xFDF0F2, 0xFBEEF0, 0xFEECED, 0xFDEBEC, 0xFCEBE8, 0xFCEBE8, 0xF9EBE5, 0xF8EAE4,
                  0xF4E9E5, 0xF2E7E3, 0xFFE6D8, 0xFBE1D3, 0xCD8A4D, 0xB57235, 0x492213});
    run(f.left[0], 3, 19, 0x5A3718);
    run(f.right[2], 3, 19, 0x5A3718);
    corners(f.left, {{{None, 0xD39055, 0x835023},
                      {0xD39055, 0xC47834, 0xEDD0B7},
                      {0x835023, 0xEDD0B7, 0xE6C09E},
                      {0x6E441E, 0xE8C4A4, 0xD5945B},
                      {0xCC803C, 0xA9672D, 0xDDAA7D},
                      {None, 0xD39055, 0x835023}}});
    corners(f.right, {{{0x6E441E, 0xCC803C, 0xC0C0C0},
                       {0xF4E2D2, 0xC47834, 0xD39055},
                       {0xE6C09E, 0xEBCCB1, 0x835023},
                       {0xD5945B, 0xE4BC98, 0x6E441E},
                       {0xE3B891, 0xA9672D, 0xCE8442},
                       {0x6E441E, 0xCE8442, None}}});
    Column rim{};
    run(rim, 2, 5, 0xE6C09E);
    run(rim, 6, 6, 0xE4BB96);
    run(rim, 7, 8, 0xE2B790);
    run(rim, 9, 10, 0xE1B289);
    run(rim, 11, 12, 0xDFAE83);
    run(rim, 13, 13, 0xDDAA7D);
    run(rim, 14, 15, 0xDCA676);
    run(rim, 16, 16, 0xDAA270);
    run(rim, 17, 18, 0xD89E6A);
    run(rim, 19, 19, 0xD69962);
    run(rim, 20, 20, 0xD5945B);
    applyRim(f, rim);
    return f;
}

Face pressedFace()
{
    Face f = normalFace();
    f.body =
        bodyRamp({0x54241E, 0xD9A9A3, 0xEAC6C0, 0xF5D1CB, 0xF1DBD5, 0xF0DAD4, 0xEDDEDB, 0xEEDFDC,
                  0xEFE0DE, 0xEFE0DE, 0xF3DFDE, 0xF3DFDE, 0xF3DFDE, 0xF3DFDE, 0xF1DFDE, 0xF1DFDE,
                  0xF1DFDE, 0xF1DFDE, 0xEDE0DE, 0xECDFDD, 0xFFFDFA, 0xFFFCF9, 0x312422});
    corners(f.right, {{{0x732918, 0xCE5242, 0xC0C0C0},
                       {0xE7948C, 0xAD3929, 0xCE5242},
                       {0xE7BDB5, 0xE79C94, 0x732918},
                       {0xFFFFFF, 0xEFBDAD, 0x843121},
                       {0xF7D6CE, 0xC64A31, 0xD66352},
                       {0x732918, 0xCE5239, None}}});
    Column &r0 = f.right[0];
    run(r0, 3, 3, 0xEFCEC6);
    run(r0, 4, 6, 0xEFD6CE);
    run(r0, 7, 10, 0xEFD6D6);
    run(r0, 11, 14, 0xEFDED6);
    run(r0, 15, 19, 0xF7DEDE);
    Column &r1 = f.right[1];
    run(r1, 3, 3, 0xE7BDB5);
    run(r1, 4, 9, 0xEFCEC6);
    run(r1, 10, 12, 0xEFCECE);
    run(r1, 13, 14, 0xEFD6CE);
    run(r1, 15, 15, 0xEFD6D6);
    run(r1, 16, 16, 0xEFDED6);
    run(r1, 17, 19, 0xF7E7E7);
    return f;
}

void paint(Draw::DeviceContext *hdc, float width, const Face &f)
{
    if (!hdc)
        return;
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < Rows; ++y)
            if (f.left[k][y] != None)
                hdc->setPixel(k, y, f.left[k][y]);
    const float bound = width - 3.0f;
    for (float x = 3; x <= bound; x += 1.0f)
        for (int y = 0; y < Rows; ++y)
            hdc->setPixel(int(x), y, f.body[y]);
    for (int k = 0; k < 3; ++k) {
        const int x = Draw::roundPixel(bound + float(k));
        for (int y = 0; y < Rows; ++y)
            if (f.right[k][y] != None)
                hdc->setPixel(x, y, f.right[k][y]);
    }
}

} // namespace

void DrawFaceNormal(Draw::DeviceContext *hdc, float width)
{
    static const Face face = normalFace();
    paint(hdc, width, face);
}

void DrawFaceDefault(Draw::DeviceContext *hdc, float width)
{
    static const Face face = defaultFace();
    paint(hdc, width, face);
}

void DrawFaceHover(Draw::DeviceContext *hdc, float width)
{
    static const Face face = hoverFace();
    paint(hdc, width, face);
}

void DrawFacePressed(Draw::DeviceContext *hdc, float width)
{
    static const Face face = pressedFace();
    paint(hdc, width, face);
}

} // namespace BlueCommand_Draw
