// Plain message boxes. They never run a nested event loop: a box is shown application-modal and
// the caller goes on. Tests put their own presenter in to read the messages.
#pragma once

#include <QString>
#include <functional>

class QWidget;

using MessagePresenter = std::function<void(QWidget* parent, const QString& text)>;

// Shows text in a plain modal message box over parent, through the current presenter.
void showPlainMessage(QWidget* parent, const QString& text);

// The parent a box over parent gets: the modal window open at the time, if any, so the box is
// never opened under it.
QWidget* messageParent(QWidget* parent);

// Replaces the presenter (an empty one restores the message box); returns the one it replaced.
MessagePresenter setMessagePresenter(MessagePresenter presenter);
