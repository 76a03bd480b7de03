#pragma once

#include <QString>
#include <QStringList>

// Message boxes of the program, reached from widget-free code.
//
// core and engine call these; the GUI installs a Presenter that shows real
// boxes. Tests queue answers with setNextAnswer() and read what was shown from
// shown(); with no presenter installed and no queued answer, questions answer
// No and nothing is displayed.
namespace Messages {

enum class Icon { None, Critical, Exclamation, Question, Information };
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

inline const QString DefaultTitle = QStringLiteral("Kadrelo");

class Presenter
{
public:
    virtual ~Presenter() = default;
    virtual Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) = 0;
};

// Not owned; pass nullptr to remove.
void setPresenter(Presenter *presenter);

Answer show(const QString &text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
            const QString &title = DefaultTitle);
void critical(const QString &text, const QString &title = DefaultTitle);
void exclamation(const QString &text, const QString &title = DefaultTitle);
void information(const QString &text, const QString &title = DefaultTitle);
// Yes/No with the question icon; true for Yes.
bool question(const QString &text, const QString &title = DefaultTitle);
// Yes/No/Cancel with the question icon: Yes, No or Cancel.
Answer questionWithCancel(const QString &text, const QString &title = DefaultTitle);

// One message text from its parts, one line each with CR LF between them, as
// every message of the program breaks its lines; empty parts are left out.
QString lines(const QStringList &parts);

// A file that could not be read or written: the headline, the file and the
// reason (FileErrors::reason), one line each. The same failure is worded the
// same way in every window through these headlines.
inline const QString SaveFileFailed = QStringLiteral("Nie udało się zapisać pliku");
inline const QString OpenFileFailed = QStringLiteral("Nie udało się otworzyć pliku");
QString fileFailure(const QString &headline, const QString &path, const QString &reason = {});

// Test hooks.
void setNextAnswer(Answer answer);
QStringList shown();
void clearShown();

} // namespace Messages
