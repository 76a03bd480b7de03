#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvat Kadrelo"));
    QLabel window(QStringLiteral("Dorvat Kadrelo"));
    window.setWindowTitle(QStringLiteral("Dorvat Kadrelo"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
