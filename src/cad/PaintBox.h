#pragma once

#include "cad/Entidades.h"
#include "cad/Geometria.h"
#include "cad/Region.h"

#include <QBrush>
#include <QImage>
#include <QLineF>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFont;
class QPaintDevice;
class QPainter;

namespace ventix {

// Smoothing modes, numbered as the drawing settings store them.
enum : int {
    smPorDefecto = 0,
    smVelocidad = 1,
    smCalidad = 2,
    smNinguno = 3,
    smSuavizado = 4,
    smSuavizado8x4 = 5,
};

// The zoomable, pannable drawing area everything is drawn on. It paints with
// QPainter into its own off-screen image (`Bitmap`), so it needs no widget: a
// thin host widget forwards size, paint, mouse and wheel events, blits
// `Bitmap` after `Paint` and shows the cursors asked for through `OnCursor`.
//
// World coordinates are Y-up; pixel x = OffsetX + Zoom·x, pixel y = OffsetY −
// Zoom·y. Symbols are posed on a stack of local transforms: each push opens
// a level whose own matrix starts as the identity and is mapped by the
// enclosing levels, and `TransformActual` reads that level's own matrix.
class TCADPaintBox {
public:
    TCADPaintBox();
    TCADPaintBox(const TCADPaintBox&) = delete;
    TCADPaintBox& operator=(const TCADPaintBox&) = delete;
    virtual ~TCADPaintBox();

    // Off-screen image; screen-sized at construction and enlarged when the
    // client area outgrows it. The host shows its (0, 0, client size) part.
    QImage Bitmap;
    QPen Pen;     // lines, circles, arcs; width set per entity
    QBrush Brush; // polygons and texts
    bool DibujoActivo = false;
    double Zoom = 1.0;
    int OffsetX = 0;
    int OffsetY = 0;
    QRect ClientePrevio; // client rectangle at the previous paint
    bool Arrastrando = false;
    Qt::MouseButton BotonPaneo = Qt::MiddleButton;
    QPoint UltimoPunto;

    // The owner's paint hook: called inside Paint with the surface ready.
    std::function<void(TCADPaintBox&)> OnPintar;
    // Host hooks: repaint the view (it calls Paint and blits Bitmap), and
    // show a cursor. Unset, `Repintar` paints at once and cursors are ignored.
    std::function<void()> OnRepintar;
    std::function<void(Qt::CursorShape)> OnCursor;
    // The owner's mouse events, called after the view's own handling.
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)> OnMouseDown;
    std::function<void(Qt::KeyboardModifiers, int, int)> OnMouseMove;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)> OnMouseUp;

    std::uint32_t GetFondo() const { return Fondo; }
    void SetFondo(std::uint32_t Color) { Fondo = Color; }
    int GetSuavizado() const { return Suavizado; }
    void SetSuavizado(int Modo) { Suavizado = Modo; }
    void Activar() { DibujoActivo = true; }
    void Desactivar() { DibujoActivo = false; }

    // The client area in pixels, (0, 0, width, height); the host sets it on
    // every resize. Paint uses it, as do Centrar and the wheel.
    void SetCliente(int Ancho, int Alto);
    const QRect& GetCliente() const { return Cliente; }

    // Mapping.
    void SetZoom(double Z);
    void AcercarZoom() { Zoom *= 1.2; }
    void AlejarZoom() { Zoom /= 1.2; }
    TCADCoordenada PantallaAMundo(const QPoint& Pixel) const;
    QPointF MundoAPantalla(const TCADCoordenada& Punto) const;
    void ZoomEn(const TCADCoordenada& Punto, const QPoint& Pixel);
    void Centrar(double X, double Y);
    void Arrastrar(const QPoint& Desde, const QPoint& Hasta);
    // Integer part of x + 0.5 (x − 0.5 below zero): ties away from zero.
    // Saturates far inside the integer range, so offsets never overflow.
    static int Redondear(double x);

    // Paints the client area into Bitmap: background, Y-up world mapping,
    // then OnPintar. Does nothing while DibujoActivo is false. Descendants
    // that paint more override it with Preparar / their drawing / Mostrar.
    virtual void Paint();
    // Asks the host to repaint (or paints at once without a host).
    void Repintar();
    // Renders what the view shows into Destino at Factor times the pixel size.
    void RenderizarEn(QImage& Destino, double Factor);
    // Paints the world rectangle Mundo, centred and fitted with Margen (the
    // fraction of the picture's width and height left free on each side),
    // into the top-left Tamano of any paint device (an image, an SVG or PDF
    // writer, a printer's page) through the same Paint as the screen, with
    // the same colours and line widths. Pie, when set, then draws on the same
    // painter in device units (a page's footer). The view is left as it was.
    // Raises std::runtime_error when the device cannot be painted on.
    void DibujarEn(QPaintDevice& Dispositivo, const QSize& Tamano, const TCADLimites& Mundo,
                   double Margen, const std::function<void(QPainter&)>& Pie = {});
    // The world rectangle the client area shows.
    TCADLimites AreaVisible() const;

    // The painter on the image being painted; null outside Paint and while
    // painting is held back.
    QPainter* GetGraphics() const {
        QPainter* g = Pintor();
        if (g && !Lineas.empty())
            VaciarLineas();
        return g;
    }
    // While painting is held back, drawing only poses: geometry and hit areas
    // are computed, no pixel changes. Used for what lies outside the view.
    void RetenerPintura() {
        VaciarLineas();
        ++Retenida;
    }
    void SoltarPintura();
    // The world rectangle the image being painted shows (all of it, also a
    // render target or a bitmap larger than the client area); null outside Paint.
    QRectF VistaMundo() const;

    // Opens a level: translate by (dx, dy), rotate by angulo degrees
    // counter-clockwise (skipped at 0), scale by (sx, sy) (skipped when both
    // are 0): a point is scaled first, rotated second and moved last. Returns
    // the state that PopTransform takes to close this level (and any left
    // open inside it). Works outside Paint too, for computing hit areas.
    int PushTransform(double dx, double dy, double angulo, double sx, double sy);
    void PopTransform(int Estado);
    // Prepends a scaling to the innermost level (a mirror of an element is
    // (-1, 1)): applied to points before that level's own transform.
    void EscalarNivel(double sx, double sy);
    // The innermost level's own matrix (into its parent's coordinates).
    QTransform TransformActual() const;
    // The innermost level's full matrix into pixels.
    QTransform TransformPantalla() const;

    // Draws one entity with Pen (its width is the entity's "Grosor") and Brush.
    void DibujarEntidad(const TCADEntidad& Entidad);
    // Fills an area (in the current level's coordinates) with Brush.
    void RellenarArea(const TArea& Area);

    // Mouse: panning with BotonPaneo or the middle button, wheel zoom about
    // the pixel under the cursor. Delta as the toolkit gives it (120 a step);
    // answers whether the wheel was handled.
    virtual void MouseDown(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y);
    bool MouseWheel(int Delta, int X, int Y);

protected:
    // Paint steps: create the painter on the target, fill the background, set
    // the world mapping (recentring after a resize). False when inactive.
    bool Preparar();
    // Ends the painting; the host then blits Bitmap.
    void Mostrar();
    void SetCursor(Qt::CursorShape Cursor);
    // Whether Paint is drawing a picture (RenderizarEn, DibujarEn) rather
    // than the screen.
    bool PintandoImagen() const { return Destino != nullptr; }

private:
    // A level's own matrix, and its full matrix into pixels (its own mapped
    // by the enclosing levels'), made when first asked for: a level that
    // only poses never needs it.
    struct TNivel {
        QTransform Local;
        mutable QTransform Total;
        mutable bool TotalHecho = false;
    };
    const QTransform& TotalDe(std::size_t Nivel) const;
    // The painter takes the innermost level's matrix when it is next asked
    // for: most levels only pose, and never draw.
    void AplicarNivel() {
        VaciarLineas();
        NivelPendiente = true;
    }
    void AplicarNivelAhora() const;
    // The painter with the innermost level's matrix, lines still gathered.
    QPainter* Pintor() const {
        if (Retenida > 0 || !Graphics)
            return nullptr;
        if (NivelPendiente)
            AplicarNivelAhora();
        return Graphics.get();
    }
    // Lines of entities drawn with the one-pixel pen are gathered and drawn
    // in one call, which draws each line exactly as a call of its own would;
    // they are drawn before anything else is (GetGraphics), before the
    // matrix or the pen changes, and at the end of the painting.
    mutable std::vector<QLineF> Lineas;
    void VaciarLineas() const;
    void AplicarSuavizado();

    std::uint32_t Fondo = 0xFFFFFFFFu;
    int Suavizado = smSuavizado;
    QRect Cliente;
    QPaintDevice* Destino = nullptr; // what Paint draws into; Bitmap unless rendering
    const std::function<void(QPainter&)>* Pie = nullptr; // drawn last while rendering
    bool DestinoPintado = false;
    std::unique_ptr<QPainter> Graphics;
    int Retenida = 0;
    std::unique_ptr<QFont> Fuente; // "Arial" at the reference size, made at the first text
    double Ascenso = 0.0, Interlinea = 0.0;
    std::vector<TNivel> Niveles{TNivel{}};
    mutable bool NivelPendiente = false;
    // Pen as last seen, and the entities' pen made from it.
    QPen PlumaBase, PlumaEntidad;
    bool PlumaHecha = false;
};

} // namespace ventix
