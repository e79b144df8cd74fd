#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void showMessageBox(QWidget* parent, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                                QMessageBox::Ok, messageParent(parent));
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
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

QWidget* messageParent(QWidget* parent)
{
    // Over the window that holds the input, or the box would open behind it.
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal->isVisible() ? modal : parent;
}

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
