#pragma once
// Answers the message boxes a test's code shows modally: a short timer looks
// for the active modal box, notes what it shows and presses a button, so no
// test waits on a person or a fixed sleep.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextDocumentFragment>
#include <QTimer>
#include <algorithm>

struct SeenMessage {
    QString title;
    QString text;  // as plain text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

class ModalAnswer {
public:
    explicit ModalAnswer(QMessageBox::StandardButton press) : press_(press)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    QList<SeenMessage> seen;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        SeenMessage message;
        message.title = box->windowTitle();
        message.text = box->textFormat() == Qt::PlainText
                           ? box->text()
                           : QTextDocumentFragment::fromHtml(box->text()).toPlainText();
        message.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) message.buttons.append(box->standardButton(button));
        std::sort(message.buttons.begin(), message.buttons.end());
        seen.append(message);
        QAbstractButton* button = box->button(press_);
        if (!button) button = box->buttons().value(0);
        if (button) button->click();
    }

    QMessageBox::StandardButton press_;
    QTimer timer_;
};
