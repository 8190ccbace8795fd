#include "cad/PaintBox.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRawFont>
#include <QScreen>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace ventix {

namespace {

// Offsets stay well inside the integer range, so adding pixel distances to
// them can never overflow, however far the user zooms.
constexpr int kOffsetMaximo = 1 << 29;

// Texts are laid out at this pixel size and scaled to their height, so glyph
// advances do not depend on the zoom.
constexpr double kReferencia = 100.0;

int Acotar(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kOffsetMaximo, kOffsetMaximo));
}

QPoint CentroEntero(const QRect& R) {
    // GDI-style rectangle: right = left + width.
    return {(R.x() + R.x() + R.width()) / 2, (R.y() + R.y() + R.height()) / 2};
}

QSize TamanoPantalla() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* s = QGuiApplication::primaryScreen())
            if (!s->size().isEmpty())
                return s->size();
    return {1024, 768};
}

// The glyphs of each line in a font, with the baseline at 0.
std::vector<QList<QGlyphRun>> Glifos(const std::vector<QString>& Lineas, const QFont& Fuente) {
    std::vector<QList<QGlyphRun>> r;
    for (const QString& linea : Lineas) {
        QTextLayout disposicion(linea, Fuente);
        disposicion.beginLayout();
        QTextLine l = disposicion.createLine();
        if (l.isValid()) {
            l.setLineWidth(1e7);
            l.setPosition(QPointF(0, 0));
        }
        disposicion.endLayout();
        QList<QGlyphRun> corridas = disposicion.glyphRuns();
        const double base = l.isValid() ? l.ascent() : 0.0;
        for (QGlyphRun& c : corridas) {
            QList<QPointF> p = c.positions();
            for (QPointF& q : p)
                q.ry() -= base;
            c.setPositions(p);
        }
        r.push_back(std::move(corridas));
    }
    return r;
}

// Whether no glyph has an outline: such a text leaves no pixel.
bool SinContorno(const std::vector<QList<QGlyphRun>>& Lineas) {
    for (const auto& corridas : Lineas)
        for (const QGlyphRun& c : corridas) {
            const QRawFont fuente = c.rawFont();
            for (const quint32 glifo : c.glyphIndexes())
                if (!fuente.pathForGlyph(glifo).isEmpty())
                    return false;
        }
    return true;
}

} // namespace

TCADPaintBox::TCADPaintBox()
    : Bitmap(TamanoPantalla(), QImage::Format_RGB32), Pen(QColor::fromRgba(0xFF000000u), 1.0),
      Brush(QColor::fromRgba(0xFF000000u)) {
    Bitmap.fill(QColor::fromRgba(Fondo));
}

TCADPaintBox::~TCADPaintBox() = default;

void TCADPaintBox::SetCliente(int Ancho, int Alto) {
    Cliente = QRect(0, 0, std::max(0, Ancho), std::max(0, Alto));
}

void TCADPaintBox::SetZoom(double Z) {
    if (Z == Zoom || !(Z > 0) || !std::isfinite(Z))
        return;
    Zoom = Z;
}

int TCADPaintBox::Redondear(double x) {
    if (std::isnan(x))
        return 0;
    const double r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
    return static_cast<int>(std::clamp(r, -double(kOffsetMaximo), double(kOffsetMaximo)));
}

TCADCoordenada TCADPaintBox::PantallaAMundo(const QPoint& Pixel) const {
    return {(Pixel.x() - OffsetX) / Zoom, (OffsetY - Pixel.y()) / Zoom};
}

QPointF TCADPaintBox::MundoAPantalla(const TCADCoordenada& P) const {
    return {OffsetX + Zoom * P.X, OffsetY - Zoom * P.Y};
}

void TCADPaintBox::ZoomEn(const TCADCoordenada& Punto, const QPoint& Pixel) {
    const int a = Redondear(Punto.X * Zoom + OffsetX);
    const int b = Redondear(Punto.Y * Zoom + OffsetY);
    OffsetX = Acotar(static_cast<long long>(OffsetX) + Pixel.x() - a);
    OffsetY = Acotar(static_cast<long long>(Pixel.y()) - OffsetY + b);
    // The offsets now belong to the present client area: a resize since the
    // last paint must not shift them again when the next paint comes.
    ClientePrevio = Cliente;
}

void TCADPaintBox::Centrar(double X, double Y) {
    ZoomEn({X, Y}, CentroEntero(Cliente));
}

void TCADPaintBox::Arrastrar(const QPoint& Desde, const QPoint& Hasta) {
    OffsetX = Acotar(static_cast<long long>(OffsetX) + Hasta.x() - Desde.x());
    OffsetY = Acotar(static_cast<long long>(OffsetY) + Hasta.y() - Desde.y());
}

bool TCADPaintBox::Preparar() {
    if (!DibujoActivo || Graphics)
        return false; // inactive, or asked again from inside a paint
    if (!Destino && (Bitmap.width() < Cliente.width() || Bitmap.height() < Cliente.height())) {
        Bitmap = QImage(std::max(Bitmap.width(), Cliente.width()),
                        std::max(Bitmap.height(), Cliente.height()), QImage::Format_RGB32);
    }
    if (!Destino && Bitmap.isNull())
        return false;
    QPaintDevice* dispositivo = Destino ? Destino : &Bitmap;
    Graphics = std::make_unique<QPainter>();
    if (!Graphics->begin(dispositivo)) {
        Graphics.reset();
        return false;
    }
    DestinoPintado = Destino != nullptr;
    // A render target larger than the client area is filled whole.
    Graphics->fillRect(Destino ? QRect(0, 0, Destino->width(), Destino->height()) : Cliente,
                       QColor::fromRgba(Fondo));

    if (Cliente != ClientePrevio) {
        const QPoint d = CentroEntero(Cliente) - CentroEntero(ClientePrevio);
        OffsetX = Acotar(static_cast<long long>(OffsetX) + d.x());
        OffsetY = Acotar(static_cast<long long>(OffsetY) + d.y());
        ClientePrevio = Cliente;
    }
    QTransform base(1, 0, 0, -1, 0, 0);
    base.translate(OffsetX, -OffsetY);
    base.scale(Zoom, Zoom);
    Niveles.assign(1, TNivel{base, base, true});
    Lineas.clear();
    AplicarNivel();
    AplicarSuavizado();
    return true;
}

void TCADPaintBox::Mostrar() {
    VaciarLineas();
    if (Graphics && Pie && *Pie) {
        Graphics->save();
        Graphics->resetTransform();
        try {
            (*Pie)(*Graphics);
        } catch (...) {
            Graphics->restore();
            Graphics->end();
            Graphics.reset();
            Niveles.resize(1);
            throw;
        }
        Graphics->restore();
    }
    if (Graphics)
        Graphics->end();
    Graphics.reset();
    Niveles.resize(1);
}

void TCADPaintBox::Paint() {
    if (!Preparar())
        return;
    try {
        if (OnPintar)
            OnPintar(*this);
    } catch (...) {
        Mostrar();
        throw;
    }
    Mostrar();
}

void TCADPaintBox::Repintar() {
    if (OnRepintar)
        OnRepintar();
    else
        Paint();
}

void TCADPaintBox::RenderizarEn(QImage& Destino, double Factor) {
    const double w = Cliente.width(), h = Cliente.height();
    const double dw = std::nearbyint(w * Factor), dh = std::nearbyint(h * Factor);
    if (!(dw >= 1 && dh >= 1 && dw <= 1 << 15 && dh <= 1 << 15)) {
        Destino = QImage();
        return;
    }
    Destino = QImage(static_cast<int>(dw), static_cast<int>(dh), QImage::Format_RGB32);
    if (Destino.isNull())
        return;
    Destino.fill(QColor::fromRgba(Fondo));

    const TCADCoordenada w0 = PantallaAMundo({0, 0});
    const TCADCoordenada w1 = PantallaAMundo({Cliente.width(), Cliente.height()});
    // The view comes back exactly where it was (re-centring would drift a pixel).
    const double zoom = Zoom;
    const int ox = OffsetX, oy = OffsetY;
    SetZoom(Zoom * Factor);
    Centrar(w0.X + (w1.X - w0.X) / (2 * Factor), w0.Y + (w1.Y - w0.Y) / (2 * Factor));
    this->Destino = &Destino;
    try {
        Paint();
    } catch (...) {
        this->Destino = nullptr;
        Zoom = zoom;
        OffsetX = ox;
        OffsetY = oy;
        throw;
    }
    this->Destino = nullptr;
    Zoom = zoom;
    OffsetX = ox;
    OffsetY = oy;
    Paint();
}

void TCADPaintBox::DibujarEn(QPaintDevice& Dispositivo, const QSize& Tamano,
                             const TCADLimites& Mundo, double Margen,
                             const std::function<void(QPainter&)>& PieDePagina) {
    const double w = Tamano.width(), h = Tamano.height();
    const double mw = Mundo.Right - Mundo.Left, mh = Mundo.Top - Mundo.Bottom;
    const double libre = 1.0 - 2.0 * std::clamp(Margen, 0.0, 0.45);
    double z = std::min(w * libre / mw, h * libre / mh);
    if (!(z > 0) || !std::isfinite(z))
        z = 1.0;

    struct TVista {
        double Zoom;
        int OffsetX, OffsetY;
        QRect Cliente, ClientePrevio;
        bool DibujoActivo;
    };
    const TVista antes{Zoom, OffsetX, OffsetY, Cliente, ClientePrevio, DibujoActivo};
    auto volver = [&] {
        Destino = nullptr;
        Pie = nullptr;
        Zoom = antes.Zoom;
        OffsetX = antes.OffsetX;
        OffsetY = antes.OffsetY;
        Cliente = antes.Cliente;
        ClientePrevio = antes.ClientePrevio;
        DibujoActivo = antes.DibujoActivo;
    };
    // The picture is a client area of its own: whatever paints reads the
    // same size, zoom and offsets as it would on the screen.
    SetCliente(Tamano.width(), Tamano.height());
    ClientePrevio = Cliente;
    Zoom = z;
    OffsetX = Redondear(w / 2 - z * (Mundo.Left + Mundo.Right) / 2);
    OffsetY = Redondear(h / 2 + z * (Mundo.Top + Mundo.Bottom) / 2);
    DibujoActivo = true;
    Destino = &Dispositivo;
    Pie = &PieDePagina;
    DestinoPintado = false;
    try {
        Paint();
    } catch (...) {
        volver();
        throw;
    }
    volver();
    if (!DestinoPintado)
        throw std::runtime_error("No se puede dibujar la imagen");
}

TCADLimites TCADPaintBox::AreaVisible() const {
    const TCADCoordenada a = PantallaAMundo({0, 0});
    const TCADCoordenada b = PantallaAMundo({Cliente.width(), Cliente.height()});
    return {a.X, a.Y, b.X, b.Y};
}

void TCADPaintBox::VaciarLineas() const {
    if (Lineas.empty())
        return;
    if (Graphics && Retenida == 0)
        Graphics->drawLines(Lineas.data(), static_cast<int>(Lineas.size()));
    Lineas.clear();
}

void TCADPaintBox::AplicarNivelAhora() const {
    NivelPendiente = false;
    if (Graphics && Retenida == 0)
        Graphics->setTransform(TotalDe(Niveles.size() - 1));
}

void TCADPaintBox::SoltarPintura() {
    if (Retenida > 0 && --Retenida == 0) {
        AplicarNivel();
        AplicarSuavizado();
    }
}

QRectF TCADPaintBox::VistaMundo() const {
    if (!Graphics)
        return {};
    const QRect r = Destino ? QRect(0, 0, Destino->width(), Destino->height()) : Bitmap.rect();
    const TCADCoordenada a = PantallaAMundo(r.topLeft());
    const TCADCoordenada b = PantallaAMundo(r.bottomRight() + QPoint(1, 1));
    return QRectF(QPointF(a.X, a.Y), QPointF(b.X, b.Y)).normalized();
}

void TCADPaintBox::AplicarSuavizado() {
    QPainter* g = GetGraphics();
    if (!g)
        return;
    const bool aa =
        Suavizado == smCalidad || Suavizado == smSuavizado || Suavizado == smSuavizado8x4;
    g->setRenderHint(QPainter::Antialiasing, aa);
    g->setRenderHint(QPainter::TextAntialiasing, true);
}

int TCADPaintBox::PushTransform(double dx, double dy, double angulo, double sx, double sy) {
    TNivel n;
    n.Local.translate(dx, dy);
    if (angulo != 0)
        n.Local.rotate(angulo);
    if (!(sx == 0 && sy == 0))
        n.Local.scale(sx, sy);
    Niveles.push_back(n);
    AplicarNivel();
    return static_cast<int>(Niveles.size()) - 1;
}

void TCADPaintBox::EscalarNivel(double sx, double sy) {
    Niveles.back().Local.scale(sx, sy);
    Niveles.back().TotalHecho = false;
    AplicarNivel();
}

void TCADPaintBox::PopTransform(int Estado) {
    if (Estado >= 1 && Estado < static_cast<int>(Niveles.size()))
        Niveles.resize(static_cast<std::size_t>(Estado));
    AplicarNivel();
}

QTransform TCADPaintBox::TransformActual() const {
    return Niveles.back().Local;
}

QTransform TCADPaintBox::TransformPantalla() const {
    return TotalDe(Niveles.size() - 1);
}

const QTransform& TCADPaintBox::TotalDe(std::size_t i) const {
    const TNivel& n = Niveles[i];
    if (!n.TotalHecho) {
        // The enclosing levels cannot change while this one is open.
        n.Total = i == 0 ? n.Local : n.Local * TotalDe(i - 1);
        n.TotalHecho = true;
    }
    return n.Total;
}

void TCADPaintBox::DibujarEntidad(const TCADEntidad& Entidad) {
    QPainter* g = Pintor();
    if (!g)
        return;
    const TCADTrazo& t = Entidad.Trazo();
    if (t.Tipo == teNinguna)
        return;
    // Width in world units; like the platform's pens, never thinner than one
    // device pixel (width 0 is Qt's one-pixel cosmetic pen). The pen is made
    // again only when the view's pen or the width changed: the painter then
    // sees the same pen and has nothing to update.
    const double escala = std::sqrt(std::abs(g->transform().determinant()));
    const double ancho = std::isfinite(t.Grosor) && t.Grosor * escala >= 1.0 ? t.Grosor : 0.0;
    const bool rehacer = !PlumaHecha || !(PlumaBase == Pen) || PlumaEntidad.widthF() != ancho;
    const bool juntar = (t.Tipo == teLinea || t.Tipo == tePolilinea) && ancho == 0 &&
                        g->device()->devType() == QInternal::Image &&
                        (rehacer ? Pen.style() : PlumaEntidad.style()) == Qt::SolidLine;
    if (rehacer || !juntar)
        VaciarLineas();
    if (rehacer) {
        PlumaHecha = true;
        Pen.setCapStyle(Qt::RoundCap);
        PlumaBase = Pen;
        PlumaEntidad = Pen;
        PlumaEntidad.setWidthF(ancho);
    }
    g->setPen(PlumaEntidad);
    g->setBrush(Qt::NoBrush);

    if (juntar) {
        for (std::size_t i = 0; i + 1 < t.Puntos.size(); ++i)
            Lineas.emplace_back(t.Puntos[i], t.Puntos[i + 1]);
        return;
    }
    switch (t.Tipo) {
    case teLinea:
        g->drawLine(QLineF(t.Puntos[0], t.Puntos[1]));
        break;
    case teCirculo: {
        const QRectF caja(t.Puntos[0].x(), t.Puntos[0].y(), t.Puntos[1].x(), t.Puntos[1].y());
        if (t.Arco) {
            // Qt measures arc angles clockwise in this Y-up mapping, so
            // both are negated to sweep counter-clockwise from Alfa1.
            QPainterPath arco;
            arco.arcMoveTo(caja, -t.Alfa1);
            arco.arcTo(caja, -t.Alfa1, -t.Barrido);
            g->drawPath(arco);
        } else {
            g->drawEllipse(caja);
        }
        break;
    }
    case tePolilinea:
        for (std::size_t i = 0; i + 1 < t.Puntos.size(); ++i)
            g->drawLine(QLineF(t.Puntos[i], t.Puntos[i + 1]));
        break;
    case tePoligono:
        g->setPen(Qt::NoPen);
        g->setBrush(Brush);
        g->drawPolygon(t.Puntos.data(), static_cast<int>(t.Puntos.size()), Qt::OddEvenFill);
        break;
    case teTexto: {
        // The text's own matrix flips Y back; the first line's top is at
        // anchor y + Altura, so the glyphs fill the band the text's extents
        // assume.
        if (!Fuente) {
            Fuente = std::make_unique<QFont>(QStringLiteral("Arial"));
            Fuente->setStyleHint(QFont::SansSerif);
            Fuente->setPixelSize(static_cast<int>(kReferencia));
            Fuente->setHintingPreference(QFont::PreferNoHinting);
            const QFontMetricsF m(*Fuente);
            Ascenso = m.ascent();
            Interlinea = m.lineSpacing();
        }
        const bool imagen = g->device()->devType() == QInternal::Image;
        if (imagen && t.Glifos.size() != t.Lineas.size()) {
            t.Glifos = Glifos(t.Lineas, *Fuente);
            t.SinTinta = SinContorno(t.Glifos);
        }
        if (imagen && t.SinTinta)
            break; // blanks leave no pixel
        const double k = t.Altura / kReferencia;
        QTransform local = g->transform();
        local.translate(t.Puntos[0].x(), t.Puntos[0].y() + t.Altura);
        local.scale(k, -k);
        const QTransform antes = g->transform();
        g->setTransform(local);
        g->setFont(*Fuente);
        g->setPen(QPen(Brush.color()));
        double y = Ascenso;
        if (!imagen) {
            // A vector picture keeps its texts as texts.
            for (const QString& linea : t.Lineas) {
                g->drawText(QPointF(0, y), linea);
                y += Interlinea;
            }
        } else {
            // Shaping a text costs more than drawing it: it is done once, and
            // the glyphs land on the same pixels as the text would.
            for (const auto& corridas : t.Glifos) {
                for (const QGlyphRun& c : corridas)
                    g->drawGlyphRun(QPointF(0, y), c);
                y += Interlinea;
            }
        }
        g->setTransform(antes);
        break;
    }
    default:
        break;
    }
}

void TCADPaintBox::RellenarArea(const TArea& Area) {
    if (QPainter* g = GetGraphics())
        g->fillPath(Area.Camino(), Brush);
}

void TCADPaintBox::SetCursor(Qt::CursorShape Cursor) {
    if (OnCursor)
        OnCursor(Cursor);
}

void TCADPaintBox::MouseDown(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) {
    if (Boton == BotonPaneo || Boton == Qt::MiddleButton) {
        SetCursor(Qt::DragMoveCursor);
        Arrastrando = true;
        UltimoPunto = QPoint(X, Y);
    }
    if (OnMouseDown)
        OnMouseDown(Boton, Shift, X, Y);
}

void TCADPaintBox::MouseMove(Qt::KeyboardModifiers Shift, int X, int Y) {
    if (Arrastrando) {
        SetCursor(Qt::DragMoveCursor);
        Arrastrar(UltimoPunto, QPoint(X, Y));
        UltimoPunto = QPoint(X, Y);
    }
    if (OnMouseMove)
        OnMouseMove(Shift, X, Y);
}

void TCADPaintBox::MouseUp(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) {
    SetCursor(Qt::ArrowCursor);
    Arrastrando = false;
    if (OnMouseUp)
        OnMouseUp(Boton, Shift, X, Y);
}

bool TCADPaintBox::MouseWheel(int Delta, int X, int Y) {
    const QPoint pixel(X, Y);
    if (!Cliente.contains(pixel))
        return false;
    const TCADCoordenada punto = PantallaAMundo(pixel);
    if (Delta >= 1)
        AcercarZoom();
    else if (Delta < 0)
        AlejarZoom();
    ZoomEn(punto, pixel);
    return true;
}

} // namespace ventix
