#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace ventix {

class TAerPaintBox;

// The paint area `PB`: a thin widget around the core canvas. It hands the
// canvas its size, paints it and blits its picture, forwards the mouse, and
// shows the cursors the canvas asks for.
class TLienzo : public QWidget {
    Q_OBJECT
public:
    TLienzo(QWidget* Padre, TAerPaintBox& Canvas);

    // Called once the mouse button is released over the canvas.
    std::function<void()> OnClick;
    // Called after the canvas changed its size.
    std::function<void()> OnRedimensionar;
    // Paints over the canvas's picture, in pixels.
    std::function<void(QPainter&)> OnSobrepintar;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TAerPaintBox& Canvas;
    bool Pulsado = false;
};

} // namespace ventix
