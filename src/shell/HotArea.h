#pragma once
// An empty area over a text that takes its clicks: nothing drawn, hand cursor.
#include <QWidget>

namespace pelmora {

class HotArea : public QWidget {
    Q_OBJECT
public:
    explicit HotArea(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace pelmora
