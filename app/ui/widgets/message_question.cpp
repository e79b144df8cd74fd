#include "message_question.h"

#include <QApplication>
#include <QMessageBox>

#include "message_box.h"

namespace {

void showQuestionBox(QWidget* parent, const QString& text, QuestionAnswer answer)
{
    auto* box = new QMessageBox(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                                QMessageBox::Yes | QMessageBox::No, messageParent(parent));
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, answer = std::move(answer)](int) {
                         answer(box->clickedButton() == box->button(QMessageBox::Yes));
                     });
    box->show();
}

QuestionPresenter& presenter()
{
    static QuestionPresenter current = showQuestionBox;
    return current;
}

} // namespace

void askQuestion(QWidget* parent, const QString& text, QuestionAnswer answer)
{
    presenter()(parent, text, std::move(answer));
}

QuestionPresenter setQuestionPresenter(QuestionPresenter replacement)
{
    QuestionPresenter previous = std::move(presenter());
    presenter() = replacement ? std::move(replacement) : QuestionPresenter(showQuestionBox);
    return previous;
}
