#pragma once
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace cad {

/// Every modal message and question of the program goes through here, so tests can answer them.
namespace dialogs {

enum class Icon
{
    None,
    Information,
    Warning,
    Error,
    Question
};
enum class Buttons
{
    Ok,
    YesNo
};
enum class Answer
{
    Ok,
    Yes,
    No
};

struct Request
{
    QString title;
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;
};

/// Shows the box (or asks the installed responder) and returns the operator's answer.
Answer show(const Request& r);

/// Replaces the boxes with RESPONDER (tests); an empty function restores real boxes.
void setResponder(std::function<Answer(const Request&)> responder);

/// The application's title, used by information boxes and the error display.
[[nodiscard]] QString appTitle();

/// Plain information box: the application's title, no icon, one OK button.
void information(const QString& text);
/// The "Atenção" box with the exclamation icon and one OK button.
void attention(const QString& text);
/// A question with Yes and No; true for Yes.
[[nodiscard]] bool ask(const QString& title, const QString& text, Answer defaultAnswer);

/// A file to write: the dialog's title, the name first offered and the file-type filter.
struct SaveRequest
{
    QString title;
    QString suggestedName;
    QString filter;
};

/// The file the operator chose to save to (or the installed responder's); empty when cancelled.
[[nodiscard]] QString saveFileName(const SaveRequest& r);
/// Replaces the file dialog with RESPONDER (tests); an empty function restores the real one.
void setSaveResponder(std::function<QString(const SaveRequest&)> responder);

/// The print dialog over PRINTER for a document of PAGECOUNT pages (range, current page, to file);
/// true when the operator chose to print.
[[nodiscard]] bool choosePrinter(QPrinter& printer, int pageCount);
/// Replaces the print dialog with RESPONDER, which sets the printer up itself (tests).
void setPrintResponder(std::function<bool(QPrinter&, int pageCount)> responder);

} // namespace dialogs
} // namespace cad
