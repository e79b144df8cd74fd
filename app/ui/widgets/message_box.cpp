#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void showMessageBox(QWidget* parent, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

MessagePresenter& presenter()
{
    static MessagePresenter current = showMessageBox;
    return current;
}

} // namespace

void showPlainMessage(QWidget* parent, const QString& text)
{
    presenter()(parent, text);
}

MessagePresenter setMessagePresenter(MessagePresenter replacement)
{
    MessagePresenter previous = std::move(presenter());
    presenter() = replacement ? std::move(replacement) : MessagePresenter(showMessageBox);
    return previous;
}
