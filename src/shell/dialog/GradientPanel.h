#pragma once
// A panel whose background is a two-colour linear gradient, drawn as one
// one-pixel line per step, with an optional caption over it.
#include <QColor>
#include <QWidget>

namespace pelmora {

class TGradientPanel : public QWidget {
public:
    enum GradientDirection { drLeftToRight, drTopToBottom };
    enum CaptionAlignment { alLeft, alCenter, alRight };
    enum CaptionVAlignment { alTop, alMiddle, alBottom };

    explicit TGradientPanel(QWidget* parent = nullptr);

    // Each setter repaints the panel.
    void setDirection(GradientDirection direction);
    void setColorStart(const QColor& color);
    void setColorEnd(const QColor& color);
    void setCaptionAlign(CaptionAlignment align);
    void setCaptionVAlign(CaptionVAlignment align);
    void setCaptionPadding(int pixels);
    void setCaption(const QString& caption);
    void setBaseColor(const QColor& color);  // painted under the gradient

    GradientDirection direction() const { return direction_; }
    QColor colorStart() const { return colorStart_; }
    QColor colorEnd() const { return colorEnd_; }
    CaptionAlignment captionAlign() const { return captionAlign_; }
    CaptionVAlignment captionVAlign() const { return captionVAlign_; }
    int captionPadding() const { return captionPadding_; }

    // Paints the panel as it would be at `size` onto any surface, unclipped,
    // so the caption of an empty panel can be seen.
    void paintPanel(QPainter& painter, QSize size) const;

    // The top-left point of the caption's text cell.
    static QPoint captionOrigin(QSize panel, QSize text, CaptionAlignment align, CaptionVAlignment valign,
                                int padding);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GradientDirection direction_ = drLeftToRight;
    QColor colorStart_{128, 128, 128};
    QColor colorEnd_{Qt::white};
    CaptionAlignment captionAlign_ = alLeft;
    CaptionVAlignment captionVAlign_ = alTop;
    int captionPadding_ = 5;
    QString caption_;
    QColor baseColor_;
};

}  // namespace pelmora
