#pragma once
#include <QString>
#include <functional>

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

} // namespace dialogs
} // namespace cad
