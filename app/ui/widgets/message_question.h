// Yes/no questions in a plain message box. Like the plain messages they never run a nested event
// loop: the answer arrives later through a callback. Tests put their own presenter in.
#pragma once

#include <QString>
#include <functional>

class QWidget;

using QuestionAnswer = std::function<void(bool yes)>;
using QuestionPresenter = std::function<void(QWidget* parent, const QString& text, QuestionAnswer answer)>;

// Asks text over parent through the current presenter; answer runs once the user has answered
// (closing the box answers no).
void askQuestion(QWidget* parent, const QString& text, QuestionAnswer answer);

// Replaces the presenter (an empty one restores the message box); returns the one it replaced.
QuestionPresenter setQuestionPresenter(QuestionPresenter presenter);
