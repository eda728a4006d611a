#pragma once
// A picture button of the title strip: a 22 x 22 picture whose magenta
// RGB(255,0,255) pixels are transparent, and a lighter one while the mouse is
// over it (but not while a button is held down). It sizes itself to its picture.
#include <QPixmap>
#include <QWidget>

namespace pelmora {

class ImageButton : public QWidget {
    Q_OBJECT
public:
    // Drawn when a picture is missing, so the button stays visible and usable.
    enum class Glyph { Minimize, Close };
    static QColor transparentColour() { return {255, 0, 255}; }
    static constexpr int kSide = 22;

    ImageButton(const QImage& normal, const QImage& hover, Glyph fallback, QWidget* parent = nullptr);

    bool showsHoverPicture() const { return hovered_ && !pressed_; }

    // The picture with its transparent colour keyed out.
    static QPixmap keyedOut(const QImage& picture);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static QPixmap fallbackPicture(Glyph glyph, bool light);

    QPixmap normal_;
    QPixmap hover_;
    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace pelmora
