#include "shell/dialog/TaskMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace pelmora {

namespace {

struct ButtonFlag {
    int flag;
    QMessageBox::StandardButton titled;  // newer systems
    QMessageBox::StandardButton plain;   // older systems
};

constexpr ButtonFlag kButtonFlags[] = {
    {kTaskButtonOk, QMessageBox::Ok, QMessageBox::Ok},
    {kTaskButtonYes, QMessageBox::Yes, QMessageBox::Yes},
    {kTaskButtonNo, QMessageBox::No, QMessageBox::No},
    {kTaskButtonCancel, QMessageBox::Cancel, QMessageBox::Cancel},
    {kTaskButtonRetry, QMessageBox::Retry, QMessageBox::Retry},
    {kTaskButtonClose, QMessageBox::Close, QMessageBox::Abort},
};

QMessageBox::StandardButtons buttonsFor(int buttonFlags, bool titled)
{
    QMessageBox::StandardButtons buttons;
    for (const ButtonFlag& entry : kButtonFlags) {
        if (buttonFlags & entry.flag) buttons |= titled ? entry.titled : entry.plain;
    }
    // No flag at all still gives the user a way to answer.
    return buttons ? buttons : QMessageBox::StandardButtons(QMessageBox::Ok);
}

QMessageBox::Icon iconFor(int iconId)
{
    switch (iconId) {
        case kTaskIconWarning:
            return QMessageBox::Warning;
        case kTaskIconQuestion:
            return QMessageBox::Question;
        case kTaskIconError:
            return QMessageBox::Critical;
        case kTaskIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString plainCaptionFor(int iconId)
{
    const char* caption = plainMessageCaption(iconId);
    return caption ? QString::fromLatin1(caption) : QGuiApplication::applicationDisplayName();
}

// The titled message's button under the system's identifier for it.
int titledResult(QMessageBox::StandardButton pressed)
{
    switch (pressed) {
        case QMessageBox::Cancel:
            return titledMessageResult(kResultCancel);
        case QMessageBox::Retry:
            return titledMessageResult(kResultRetry);
        case QMessageBox::Yes:
            return titledMessageResult(kResultYes);
        case QMessageBox::No:
            return titledMessageResult(kResultNo);
        case QMessageBox::Close:
            return titledMessageResult(kTitledButtonClose);
        default:
            return titledMessageResult(kResultOk);
    }
}

int plainResult(QMessageBox::StandardButton pressed)
{
    switch (pressed) {
        case QMessageBox::Ok:
            return kResultOk;
        case QMessageBox::Abort:
            return kResultAbort;
        case QMessageBox::Retry:
            return kResultRetry;
        case QMessageBox::Yes:
            return kResultYes;
        case QMessageBox::No:
            return kResultNo;
        default:
            return kResultCancel;  // Cancel, or dismissed without a button
    }
}

// The main instruction stands out above the content, like a titled message
// of the desktop.
QString titledText(const QString& mainInstruction, const QString& content)
{
    return QStringLiteral("<p style=\"font-size:15px; color:#1f3f8f;\">%1</p><p>%2</p>")
        .arg(mainInstruction.toHtmlEscaped(), content.toHtmlEscaped().replace('\n', QStringLiteral("<br>")));
}

QMessageBox::StandardButton runBox(QMessageBox& box)
{
    box.exec();
    return box.standardButton(box.clickedButton());
}

}  // namespace

int ShowTaskMessage(QWidget* owner, const QString& title, const QString& mainInstruction,
                    const QString& content, int buttonFlags, int iconId, const VersionInfo& version)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return kResultNone;

    const bool titled = version.version().majorVersion >= kTitledMessageMajorVersion;
    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("TaskMessage"));
    box.setIcon(iconFor(iconId));
    box.setStandardButtons(buttonsFor(buttonFlags, titled));
    if (titled) {
        box.setWindowTitle(title);
        box.setTextFormat(Qt::RichText);
        box.setText(titledText(mainInstruction, content));
        return titledResult(runBox(box));
    }
    box.setWindowTitle(plainCaptionFor(iconId));
    box.setTextFormat(Qt::PlainText);
    box.setText(content);
    return plainResult(runBox(box));
}

}  // namespace pelmora
