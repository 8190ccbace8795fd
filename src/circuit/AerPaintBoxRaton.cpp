#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"

#include <QPointF>

#include <algorithm>
#include <cassert>
#include <cmath>

// Selection, hit testing and the mouse of the canvas.

namespace ventix {

namespace {

// Nearest multiple of 0.5, ties to even: the grid elements are dragged on.
double AjustarRejilla(double v) {
    return std::nearbyint(v * 2.0) / 2.0;
}

} // namespace

namespace {

// Whether a reference list holds an entry for the element: found through
// the element's back-link, or, for an element with several entries (which
// the canvas never makes), by looking.
bool Listado(const TAerComponente* E, const TColeccion& Lista) {
    if (E->Referencias <= 0)
        return false;
    if (E->Referencias == 1 && E->Referencia)
        return E->Referencia->GetColeccion() == &Lista;
    for (int i = 0; i < Lista.Count(); ++i)
        if (Lista.ItemComo<TComponenteItem>(i)->Componente == E)
            return true;
    return false;
}

// Of several elements of a list, the one that comes last in it.
TAerComponente* Ultimo(const std::vector<TAerComponente*>& Elementos, const TColeccion& Lista) {
    if (Elementos.size() < 2)
        return Elementos.empty() ? nullptr : Elementos.front();
    for (int i = Lista.Count() - 1; i >= 0; --i) {
        auto* e = static_cast<TAerComponente*>(Lista.Item(i));
        if (std::find(Elementos.begin(), Elementos.end(), e) != Elementos.end())
            return e;
    }
    return nullptr;
}

// The same for a reference list: the element of the last entry naming one.
TAerComponente* UltimoReferido(const std::vector<TAerComponente*>& Elementos,
                               const TColeccion& Lista) {
    if (Elementos.size() < 2)
        return Elementos.empty() ? nullptr : Elementos.front();
    for (int i = Lista.Count() - 1; i >= 0; --i) {
        auto* e = TAerPaintBox::Referido(Lista, i);
        if (std::find(Elementos.begin(), Elementos.end(), e) != Elementos.end())
            return e;
    }
    return nullptr;
}

} // namespace

// The elements whose areas hold the point come from the spatial index; of
// each list, the one a pass over the list would have kept (the last) is
// chosen, and the lists take precedence as in that pass.
TAerComponente* TAerPaintBox::ElementoEn(const TCADCoordenada& P) const {
    std::vector<TAerComponente*> componentes, conexiones, textos, vertices;
    const QPointF p(static_cast<float>(P.X), static_cast<float>(P.Y));
    Indice.Candidatos(p, [&](TAerComponente* e) {
        // Sub-elements other than points are filed too, but never answer.
        const bool componente = e->GetColeccion() == &Componentes;
        const bool texto = e->GetColeccion() == &Textos;
        const bool conexion = Listado(e, RefConexiones);
        const bool vertice = Listado(e, RefVertices);
        if (!(componente || texto || conexion || vertice) || !e->ContienePunto(P))
            return;
        if (componente)
            componentes.push_back(e);
        if (texto)
            textos.push_back(e);
        if (conexion)
            conexiones.push_back(e);
        if (vertice)
            vertices.push_back(e);
    });
    TAerComponente* r = Ultimo(componentes, Componentes);
    if (!(r && r->EsConectorT()))
        if (auto* c = UltimoReferido(conexiones, RefConexiones))
            r = c;
    if (MostrarEstrellas)
        if (auto* t = Ultimo(textos, Textos))
            r = t;
    if (MostrarVertices && Modo < mdEnclavar)
        if (auto* v = UltimoReferido(vertices, RefVertices))
            r = v;
    assert(r == ElementoEnRecorriendo(P));
    return r;
}

TAerComponente* TAerPaintBox::ElementoEnRecorriendo(const TCADCoordenada& P) const {
    TAerComponente* r = nullptr;
    for (int i = 0; i < Componentes.Count(); ++i)
        if (auto* c = Componentes.ItemComo<TAerComponente>(i); c->ContienePunto(P))
            r = c;
    if (!(r && r->EsConectorT()))
        for (int i = 0; i < RefConexiones.Count(); ++i)
            if (auto* c = Referido(RefConexiones, i); c->ContienePunto(P))
                r = c;
    if (MostrarEstrellas)
        for (int i = 0; i < Textos.Count(); ++i)
            if (auto* t = Textos.ItemComo<TAerComponente>(i); t->ContienePunto(P))
                r = t;
    // A vertex's area is refreshed only when it is drawn: one not shown
    // would answer where it was last drawn.
    if (MostrarVertices && Modo < mdEnclavar)
        for (int i = 0; i < RefVertices.Count(); ++i)
            if (auto* v = Referido(RefVertices, i); v->ContienePunto(P))
                r = v;
    return r;
}

namespace {

// How many items ahead a pass over a large document asks for what it will
// touch: every element is an object of its own, scattered over the heap, and
// a pass that waited for each in turn would spend its time waiting.
constexpr int Adelanto = 8;

void Desmarcar(const TColeccion& Elementos) {
    const int n = Elementos.Count();
    for (int i = 0; i < n; ++i) {
        if (i + Adelanto < n)
            __builtin_prefetch(&Elementos.ItemComo<TAerComponente>(i + Adelanto)->Marcado, 1);
        Elementos.ItemComo<TAerComponente>(i)->Marcado = false;
    }
}

// The same through a reference list: its entries are objects too, so an
// entry is asked for before the element it names.
void DesmarcarReferidos(const TColeccion& Referencias) {
    const int n = Referencias.Count();
    for (int i = 0; i < n; ++i) {
        if (i + 2 * Adelanto < n)
            __builtin_prefetch(
                &Referencias.ItemComo<TComponenteItem>(i + 2 * Adelanto)->Componente);
        if (i + Adelanto < n)
            __builtin_prefetch(&TAerPaintBox::Referido(Referencias, i + Adelanto)->Marcado, 1);
        TAerPaintBox::Referido(Referencias, i)->Marcado = false;
    }
}

} // namespace

void TAerPaintBox::Deseleccionar() {
    Desmarcar(Componentes);
    Desmarcar(Textos);
    DesmarcarReferidos(RefVertices);
    DesmarcarReferidos(RefConexiones);
    Seleccionado = nullptr;
    Grupo.clear();
}

void TAerPaintBox::Seleccionar(TAerComponente* Elemento) {
    Deseleccionar();
    if (Elemento) {
        Seleccionado = Elemento;
        Elemento->Marcado = true;
    }
}

void TAerPaintBox::ColocarEnPuntero(TAerComponente* Elemento) {
    if (Seleccionado)
        Seleccionado->Marcado = false;
    Elemento->Marcado = true;
    Elemento->X = PosicionRaton.X;
    Elemento->Y = PosicionRaton.Y;
    PuntoPulsado = PosicionRaton;
    RatonPulsado = true;
    Arrastre = arSeleccion;
    Seleccionado = Elemento;
}

void TAerPaintBox::AjustarVista() {
    if (Extension.Width <= 0 || Extension.Height <= 0)
        return;
    const double zx = GetCliente().width() / static_cast<double>(Extension.Width);
    const double zy = GetCliente().height() / static_cast<double>(Extension.Height);
    SetZoom(0.9 * std::min(zx, zy));
    Centrar(Extension.X + Extension.Width / 2.0, Extension.Y + Extension.Height / 2.0);
}

void TAerPaintBox::ZoomRueda(const TCADCoordenada& Punto, int Delta) {
    const QPoint pixel(Redondear(Punto.X * Zoom + OffsetX), Redondear(OffsetY - Punto.Y * Zoom));
    if (Delta >= 1)
        AcercarZoom();
    else if (Delta < 0)
        AlejarZoom();
    ZoomEn(Punto, pixel);
}

void TAerPaintBox::SeleccionarEnPulsacion() {
    if (Seleccionado)
        Seleccionado->Marcado = false;
    Seleccionado = nullptr;
    TAerComponente* e = ElementoEn(PuntoPulsado);
    bool aceptar = true;
    if (OnSeleccionar)
        OnSeleccionar(e, aceptar);
    if (e) {
        e->Marcado = aceptar;
        if (aceptar)
            Seleccionado = e;
    }
}

void TAerPaintBox::MouseDown(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) {
    PosicionRaton = PantallaAMundo(QPoint(X, Y));
    PuntoPulsado = PosicionRaton;
    RatonPulsado = true;
    Arrastre = arLibre;
    ArrastreGrupo = false;
    Banda = false;
    const bool Edicion = Modo == mdEdicion || Modo == mdSeleccion;
    if (Boton == BotonSeleccion) {
        if (Edicion && (Shift & Qt::ControlModifier)) {
            AlternarEnSeleccion(ElementoEn(PuntoPulsado));
        } else if (Edicion && !Grupo.empty() &&
                   std::find(Grupo.begin(), Grupo.end(), ElementoEn(PuntoPulsado)) != Grupo.end()) {
            ArrastreGrupo = true;
            Arrastre = arSeleccion;
            SetCursor(Qt::SizeAllCursor);
        } else if (Modo == mdEdicion || Modo == mdSeleccion || Modo == mdEnclavar) {
            SeleccionarEnPulsacion();
            if (Seleccionado && !Seleccionado->EsConexion()) {
                Arrastre = arSeleccion;
                SetCursor(Qt::SizeAllCursor);
            } else if (!Seleccionado && (Modo == mdEdicion || Modo == mdSeleccion) &&
                       !ElementoEn(PuntoPulsado)) {
                Banda = true;
                InicioBanda = PuntoPulsado;
            }
        } else if (Modo == mdTubo) {
            SeleccionarEnPulsacion();
        }
    }
    TCADPaintBox::MouseDown(Boton, Shift, X, Y);
}

void TAerPaintBox::MouseMove(Qt::KeyboardModifiers Shift, int X, int Y) {
    PosicionRaton = PantallaAMundo(QPoint(X, Y));
    if (Arrastre == arNinguno)
        return;
    if (Arrastre == arSeleccion && ArrastreGrupo && !Grupo.empty()) {
        // The group moves as its first element would, on the grid.
        SetCursor(Qt::SizeAllCursor);
        TAerComponente* Guia = Grupo.front();
        const double x = Guia->X + PosicionRaton.X - PuntoPulsado.X;
        const double y = Guia->Y + PosicionRaton.Y - PuntoPulsado.Y;
        const double dx = AjustarRejilla(x) - Guia->X, dy = AjustarRejilla(y) - Guia->Y;
        MoverGrupo(Grupo, dx, dy);
        PuntoPulsado = {PosicionRaton.X + Guia->X - x, PosicionRaton.Y + Guia->Y - y};
    } else if (Arrastre == arSeleccion && Seleccionado) {
        SetCursor(Qt::SizeAllCursor);
        const double x = Seleccionado->X + PosicionRaton.X - PuntoPulsado.X;
        const double y = Seleccionado->Y + PosicionRaton.Y - PuntoPulsado.Y;
        Seleccionado->X = AjustarRejilla(x);
        Seleccionado->Y = AjustarRejilla(y);
        // The pointer keeps its offset from the element across the snapping.
        PuntoPulsado = {PosicionRaton.X + Seleccionado->X - x,
                        PosicionRaton.Y + Seleccionado->Y - y};
    } else {
        Resaltado = ElementoEn(PosicionRaton);
        if (!Resaltado || !OnResaltar) {
            SetCursor(Qt::ArrowCursor);
        } else {
            bool permitido = true;
            OnResaltar(Resaltado, permitido);
            if (permitido) {
                SetCursor(Qt::PointingHandCursor);
            } else {
                SetCursor(Qt::ArrowCursor);
                Resaltado = nullptr;
            }
        }
    }
    if (Modo == mdTubo && !Resaltado)
        SetCursor(Qt::CrossCursor);
    TCADPaintBox::MouseMove(Shift, X, Y);
}

void TAerPaintBox::MouseUp(Qt::MouseButton Boton, Qt::KeyboardModifiers Shift, int X, int Y) {
    PosicionRaton = PantallaAMundo(QPoint(X, Y));
    RatonPulsado = false;
    Arrastre = arLibre;
    ArrastreGrupo = false;
    if (Banda)
        SoltarBanda();
    TCADPaintBox::MouseUp(Boton, Shift, X, Y);
}

} // namespace ventix
