#pragma once
// The dialog's own frame: a glassy 37-pixel title bar that shows the caption
// and drags the dialog, with a system-menu button at its left and a close
// button at its right, and a one-pixel black border around the window.
#include <QAbstractButton>
#include <QPoint>
#include <QWidget>

#include "core/SettingsFormTable.h"

class QMenu;

namespace pelmora {

class TitleBarButton : public QAbstractButton {
public:
    enum Glyph { SystemMenu, Close };
    TitleBarButton(Glyph glyph, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Glyph glyph_;
    bool hovered_ = false;
};

class DialogTitleBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = settingsform::kTitleBarHeight;

    DialogTitleBar(const QString& caption, QWidget* parent);

    TitleBarButton* systemMenuButton() const { return systemMenuButton_; }
    TitleBarButton* closeButton() const { return closeButton_; }
    QMenu* systemMenu() const { return systemMenu_; }

signals:
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    TitleBarButton* systemMenuButton_;
    TitleBarButton* closeButton_;
    QMenu* systemMenu_;
    bool dragging_ = false;
    QPoint grabOffset_;  // cursor position minus window position
};

// A black one-pixel line around its parent, kept above the other children;
// the inside is cut away, so clicks reach the controls.
class FrameBorder : public QWidget {
public:
    explicit FrameBorder(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace pelmora
