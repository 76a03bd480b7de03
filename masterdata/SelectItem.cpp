#include "masterdata/SelectItem.h"

#include "masterdata/Grupy.h"
#include "masterdata/Ludzie.h"
#include "masterdata/Sluzby.h"

namespace {

// Opens the window in picking mode, modally and without an owner window.
template <typename Window> void pickWith(SelectItem *picker)
{
    Window window;
    window.setMyClass(picker);
    window.exec();
}

} // namespace

void SelectItem::Show()
{
    m_result.clear();
    switch (m_rodzaj) {
    case Groups:
        pickWith<Grupy>(this);
        break;
    case People:
        pickWith<Ludzie>(this);
        break;
    case DayRange:
        if (m_dayRange)
            m_dayRange(*this);
        break;
    case Duties:
        pickWith<Sluzby>(this);
        break;
    default:
        break;
    }
}
