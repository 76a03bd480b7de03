#pragma once

#include <QDialog>

class BlueCommand;
class QLabel;
class QPlainTextEdit;

// The About box: name, version of this build, last modification, information.
class About : public QDialog
{
    Q_OBJECT

public:
    explicit About(QWidget *parent = nullptr);

    // "major.minor.revision" of the build.
    static QString versionText();

    QLabel *Label1() const { return m_label1; }
    QLabel *Label3() const { return m_label3; }
    QLabel *Label4() const { return m_label4; }
    QPlainTextEdit *Text1() const { return m_text1; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

private:
    QLabel *m_label1;
    QLabel *m_label3;
    QLabel *m_label4;
    QPlainTextEdit *m_text1;
    BlueCommand *m_buttonClose;
};
