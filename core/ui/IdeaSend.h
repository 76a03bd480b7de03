#pragma once

#include <QWidget>

class BlueCommand;
class QLineEdit;
class QPlainTextEdit;

// The feedback form: sends an idea and the sender's e-mail address to the
// feedback service named by the option FeedbackHost and shows its answer.
class IdeaSend : public QWidget
{
    Q_OBJECT

public:
    explicit IdeaSend(QWidget *parent = nullptr);

    QLineEdit *Text1() const { return m_text1; }
    QPlainTextEdit *Text2() const { return m_text2; }
    BlueCommand *ButtonOK() const { return m_buttonOK; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

    // The request URL for the two texts and the host ("name[:port]").
    static QString requestUrl(const QString &host, const QString &email, const QString &idea);

public Q_SLOTS:
    void send();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_placed = false;
    QLineEdit *m_text1;
    QPlainTextEdit *m_text2;
    BlueCommand *m_buttonOK;
    BlueCommand *m_buttonClose;
};
