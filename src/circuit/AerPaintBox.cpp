#include "circuit/AerPaintBox.h"

#include "cad/Simbolos.h"
#include "circuit/AerConexion.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace ventix {

TAerPaintBox::TAerPaintBox()
    : Libreria(this), Componentes(TAerComponente::Clase()), RefConexiones(TComponenteItem::Clase()),
      RefActuadores(TComponenteItem::Clase()), Textos(TAerComponente::Clase()),
      RefVertices(TComponenteItem::Clase()), Tubos(TAerComponente::Clase()) {}

TAerPaintBox::~TAerPaintBox() {
    ++LoteTubos; // no marks to recompute on the way out
    Vaciar();
}

// Tubes first, so that no element has to look for the tubes at its points;
// then the lists that only refer, then texts and elements, which find nothing
// left to clear.
void TAerPaintBox::Vaciar() {
    Destruyendo = true;
    try {
        Tubos.BorrarTodo();
        RefVertices.BorrarTodo();
        RefConexiones.BorrarTodo();
        RefActuadores.BorrarTodo();
        Textos.BorrarTodo();
        Componentes.BorrarTodo();
    } catch (...) {
        // Elements that went were not taken out one by one: the index is
        // made again from those left.
        Destruyendo = false;
        Indice.Vaciar();
        MarcarAreas();
        throw;
    }
    Destruyendo = false;
    Indice.Vaciar();
}

void TAerPaintBox::MarcarAreas() {
    std::vector<TAerComponente*> pila;
    for (const TColeccion* lista : {&Componentes, &Textos})
        for (int i = 0; i < lista->Count(); ++i)
            pila.push_back(lista->ItemComo<TAerComponente>(i));
    for (int i = 0; i < Tubos.Count(); ++i)
        for (int j = 0; j < static_cast<TAerTubo*>(Tubos.Item(i))->Vertices.Count(); ++j)
            pila.push_back(static_cast<TAerTubo*>(Tubos.Item(i))->Vertice(j));
    while (!pila.empty()) {
        TAerComponente* e = pila.back();
        pila.pop_back();
        Indice.Marcar(e);
        for (int j = 0; j < e->Elementos.Count(); ++j)
            pila.push_back(e->Elemento(j));
    }
}

TLoteTubos::~TLoteTubos() {
    if (--L.LoteTubos == 0 && L.MarcasPendientes) {
        L.MarcasPendientes = false;
        L.MarcarTubosControl();
    }
}

void TAerPaintBox::TubosCambiados() {
    if (Destruyendo)
        return;
    if (LoteTubos > 0)
        MarcasPendientes = true;
    else
        MarcarTubosControl();
}

TAerComponente* TAerPaintBox::Referido(const TColeccion& Referencias, int i) {
    return Referencias.ItemComo<TComponenteItem>(i)->Componente;
}

void TAerPaintBox::Olvidar(TAerComponente* E) {
    if (!Destruyendo) // else the whole index is emptied at the end
        Indice.Quitar(E);
    if (Seleccionado == E)
        Seleccionado = nullptr;
    if (Resaltado == E)
        Resaltado = nullptr;
    if (TuboNuevo == E)
        TuboNuevo = nullptr;
    Grupo.erase(std::remove(Grupo.begin(), Grupo.end(), E), Grupo.end());
    // Its entry in the reference lists goes with it, found from the element
    // (an element with several entries, which the canvas never makes, is
    // looked for). While the canvas empties, the lists go anyway: the entry
    // is only told.
    if (E->Referencias == 1 && E->Referencia) {
        if (Destruyendo)
            E->Referencia->Componente = nullptr;
        else
            delete E->Referencia;
        E->Referencias = 0;
        E->Referencia = nullptr;
    } else if (E->Referencias > 0) {
        for (TColeccion* lista : {&RefConexiones, &RefActuadores, &RefVertices})
            for (int i = lista->Count() - 1; i >= 0; --i)
                if (auto* r = lista->ItemComo<TComponenteItem>(i); r->Componente == E) {
                    if (Destruyendo)
                        r->Componente = nullptr;
                    else
                        lista->Borrar(i);
                }
        E->Referencias = 0;
        E->Referencia = nullptr;
    }
    if (Destruyendo)
        return; // every list is being emptied anyway
    if (E->EsCilindro())
        for (int i = 0; i < Componentes.Count(); ++i)
            if (auto* c = Componentes.ItemComo<TAerComponente>(i); c->EsValvula())
                if (auto* v = dynamic_cast<TAerValvula*>(c); v && v->GetCilindro() == E)
                    v->SetCilindro(nullptr);
    for (int i = 0; i < Textos.Count(); ++i)
        if (auto* t = Textos.ItemComo<TAerTexto>(i); t && t->GetAsociado() == E)
            t->Asociado = nullptr;
}

void TAerPaintBox::BorrarSeleccion() {
    if (TuboNuevo) {
        delete TuboNuevo; // detaches its start point; clears TuboNuevo
        TuboNuevo = nullptr;
        return;
    }
    TAerComponente* sel = Seleccionado;
    if (!sel)
        return;
    if (sel->GetColeccion() == &Componentes || sel->GetColeccion() == &Textos)
        delete sel;
    else if (auto* v = dynamic_cast<TAerVertice*>(sel); v && v->Tubo)
        delete v->Tubo; // a vertex takes its whole tube with it
    Seleccionado = nullptr;
}

void TAerPaintBox::BorrarCircuito() {
    Desactivar();
    Deseleccionar();
    Seleccionado = nullptr;
    Resaltado = nullptr;
    TuboNuevo = nullptr;
    Vaciar();
    ColorSeleccion = 0x4000FF00u;
    Arrastre = arSeleccion;
    Modo = mdEdicion;
}

namespace {

// What an element painted: its symbol, its sub-elements (actuators, points)
// and the exhaust marks of its open points, in circuit coordinates.
QRectF AlcanceDe(const TAerComponente& C) {
    QRectF r = C.Region.Limites();
    for (int j = 0; j < C.Elementos.Count(); ++j) {
        const TAerComponente* e = C.Elemento(j);
        r |= e->Region.Limites();
        if (e->EsConexion())
            if (const auto* c = static_cast<const TAerConexion*>(e); c->SimboloEscape)
                r |= c->AlcanceEscape;
    }
    return r;
}

#ifndef NDEBUG

void Mezclar(std::uint64_t& H, std::uint64_t V) {
    H = (H ^ V) * 0x100000001B3ull;
    H ^= H >> 29;
}

void MezclarReal(std::uint64_t& H, double V) {
    std::uint64_t b;
    std::memcpy(&b, &V, sizeof b);
    Mezclar(H, b);
}

// What posing an element depends on: its placement and state, those of its
// symbol instances and, the same way, of its sub-elements.
void MezclarPose(const TAerComponente& C, std::uint64_t& H) {
    auto mezclar = [&H](std::uint64_t v) { Mezclar(H, v); };
    auto real = [&H](double v) { MezclarReal(H, v); };
    for (double v : {C.X, C.Y, C.Alfa, C.EscalaX, C.EscalaY, C.GetParametro()})
        real(v);
    mezclar(C.Simetrico ? 3 : 5);
    // An open point shows an exhaust mark beside it (not while drawing tubes).
    if (C.EsConexion())
        mezclar(static_cast<const TAerConexion&>(C).MostrarEscape() && C.GetLienzo().Modo != mdTubo
                    ? 13
                    : 17);
    for (int i = 0; i < C.Individuos.Count(); ++i) {
        const auto* inst = C.Individuos.ItemComo<TCADIndividuo>(i);
        // (the instance's state is the element's, given when it is posed)
        for (double v : {inst->X, inst->Y, inst->Angulo, inst->EscalaX, inst->EscalaY})
            real(v);
        mezclar(inst->Visible ? 7 : 11);
        mezclar(reinterpret_cast<std::uintptr_t>(inst->GetComponente()));
    }
    mezclar(static_cast<std::uint64_t>(C.Elementos.Count()));
    for (int j = 0; j < C.Elementos.Count(); ++j)
        MezclarPose(*C.Elemento(j), H);
}

std::uint64_t HuellaPose(const TAerComponente& C) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    MezclarPose(C, h);
    return h | 1; // never 0, the mark of an element not posed yet
}

// What posing a tube depends on: its end points, whether its bends are
// shown, and the bends' own poses.
std::uint64_t HuellaTubo(const TAerTubo& T) {
    std::uint64_t h = 0x84222325CBF29CE4ull;
    for (const TAerConexion* c : {T.Inicio, T.Fin}) {
        Mezclar(h, c ? 23 : 29);
        if (c) {
            MezclarReal(h, c->XMundo);
            MezclarReal(h, c->YMundo);
        }
    }
    const TAerPaintBox& L = T.GetLienzo();
    Mezclar(h, L.Modo < mdEnclavar && L.MostrarVertices ? 31 : 37);
    Mezclar(h, static_cast<std::uint64_t>(T.Vertices.Count()));
    for (int i = 0; i < T.Vertices.Count(); ++i)
        MezclarPose(*T.Vertice(i), h);
    return h | 1;
}

#endif

// The placement an element is posed with: position, turn, scale, mirror,
// state and the number of its sub-elements.
std::array<double, 7> Colocacion(const TAerComponente& C) {
    return {C.X,
            C.Y,
            C.Alfa,
            C.EscalaX,
            C.EscalaY,
            C.GetParametro(),
            static_cast<double>(C.Elementos.Count()) * 2 + (C.Simetrico ? 1 : 0)};
}

// Compared bit for bit: a change of sign of zero or a NaN is a change too.
bool Iguales(const std::array<double, 7>& A, const std::array<double, 7>& B) {
    return std::memcmp(A.data(), B.data(), sizeof(double) * A.size()) == 0;
}

// A tube is posed from its ends' circuit positions and its bends: the ends'
// positions (the pointer's for a tube being drawn), which ends they are and
// the number of bends.
std::array<double, 7> Colocacion(const TAerTubo& T) {
    std::array<double, 7> r{};
    if (T.Inicio) {
        r[0] = T.Inicio->XMundo;
        r[1] = T.Inicio->YMundo;
    }
    // A tube being drawn ends at the pointer.
    r[2] = T.Fin ? T.Fin->XMundo : T.Provisional.X;
    r[3] = T.Fin ? T.Fin->YMundo : T.Provisional.Y;
    r[4] = static_cast<double>(reinterpret_cast<std::uintptr_t>(T.Inicio) & 0xFFFFFFFFFFFFull);
    r[5] = static_cast<double>(reinterpret_cast<std::uintptr_t>(T.Fin) & 0xFFFFFFFFFFFFull);
    r[6] = static_cast<double>(T.Vertices.Count());
    return r;
}

// What the canvas kept of the last pose of an element or tube (made at its
// first), the placement it is posed with now, and whether that or anything
// else its pose depends on changed since.
struct TPoseActual {
    TAerComponente::TPosado& Posado;
    std::array<double, 7> Colocacion;
    bool Cambio;
};

template <class E> TPoseActual PoseActual(E& Elemento) {
    if (!Elemento.Posado)
        Elemento.Posado = std::make_unique<TAerComponente::TPosado>();
    TAerComponente::TPosado& p = *Elemento.Posado;
    const std::array<double, 7> c = Colocacion(Elemento);
    return {p, c, Elemento.PoseVieja || !Iguales(c, p.ColocacionPosada)};
}

// What an element adds to the extent of the drawing: its bounds and the
// hit areas of its actuators and springs, which reach beyond its body.
TCADLimites ExtensionDe(const TAerComponente& C) {
    TCADLimites total;
    auto unir = [&total](const TCADRectF& r) {
        const TCADLimites b = TCADLimites::DeRectF(r);
        if (total.Vacio())
            total = b;
        else
            UnirLimites(total, b, total);
    };
    unir(C.Bounds);
    for (int j = 0; j < C.Elementos.Count(); ++j) {
        const QRectF r = C.Elemento(j)->Region.Limites();
        unir({static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
              static_cast<float>(r.height())});
    }
    return total;
}

// The same for a tube: the bounds of its bends.
TCADLimites ExtensionDe(const TAerTubo& T) {
    TCADLimites total;
    for (int i = 0; i < T.Vertices.Count(); ++i) {
        const TCADLimites b = TCADLimites::DeRectF(T.Vertice(i)->Bounds);
        if (total.Vacio())
            total = b;
        else
            UnirLimites(total, b, total);
    }
    return total;
}

// The rectangle through a tube's points, with its end or the pointer.
QRectF AlcanceDe(const TAerTubo& T) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool primero = true;
    auto unir = [&](double x, double y) {
        if (primero) {
            x0 = x1 = x;
            y0 = y1 = y;
            primero = false;
        }
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    };
    if (T.Inicio)
        unir(T.Inicio->XMundo, T.Inicio->YMundo);
    for (int i = 0; i < T.Vertices.Count(); ++i)
        unir(T.Vertice(i)->X, T.Vertice(i)->Y);
    if (T.Fin)
        unir(T.Fin->XMundo, T.Fin->YMundo);
    else
        unir(T.Provisional.X, T.Provisional.Y);
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

} // namespace

void TAerPaintBox::DibujarCircuito() {
    // Elements that paint outside the picture are only posed, and only when
    // something their pose depends on changed, so their geometry and hit
    // areas stay current; the margin takes in pen widths, symbol texts and
    // anti-aliasing. Which elements those are is known from their last
    // drawing; one that moved into view is drawn again at once. A change is
    // seen in the element's placement, or marked by what changed it (see
    // PoseCambiada); what is selected may be moved by any means, so it is
    // always posed again, as is everything when a mode changes what posing
    // shows (exhausts while drawing tubes, bends).
    QRectF vista;
    if (GetGraphics()) {
        const double m = 5.0 + 4.0 / Zoom;
        vista = VistaMundo().adjusted(-m, -m, m, m);
    }
    auto fuera = [&vista](const QRectF& r) {
        return !vista.isEmpty() && (r.right() < vista.left() || r.left() > vista.right() ||
                                    r.bottom() < vista.top() || r.top() > vista.bottom());
    };
    auto posar = [this](TAerComponente* e) {
        RetenerPintura();
        try {
            e->Dibujar();
        } catch (...) {
            SoltarPintura();
            throw;
        }
        SoltarPintura();
    };
    // Drawing an element posed as it stands gives the areas it has: the
    // spatial index need not file them again.
    auto dibujar = [this](TAerComponente* e, bool Igual) {
        if (!Igual) {
            e->Dibujar();
            return;
        }
        ++AreasRetenidas;
        try {
            e->Dibujar();
        } catch (...) {
            --AreasRetenidas;
            throw;
        }
        --AreasRetenidas;
    };
    const int modo = (Modo == mdTubo ? 1 : 0) + (Modo < mdEnclavar && MostrarVertices ? 2 : 0);
    if (modo != ModoPosado) {
        for (int i = 0; i < Componentes.Count(); ++i)
            Componentes.ItemComo<TAerComponente>(i)->PoseVieja = true;
        for (int i = 0; i < Tubos.Count(); ++i)
            Tubos.ItemComo<TAerComponente>(i)->PoseVieja = true;
        ModoPosado = modo;
    }
    for (TAerComponente* s : Seleccion())
        s->PoseCambiada();
    if (Seleccionado)
        Seleccionado->PoseCambiada();

    TCADLimites total; // the extent of the drawing, see below
    auto unir = [&total](const TCADLimites& b) {
        if (b.Vacio())
            return;
        if (total.Vacio())
            total = b;
        else
            UnirLimites(total, b, total);
    };

    for (int i = 0; i < Componentes.Count(); ++i) {
        auto* c = Componentes.ItemComo<TAerComponente>(i);
        auto [pc, colocacion, cambio] = PoseActual(*c);
#ifndef NDEBUG
        // Every change a fingerprint of the whole pose sees is seen above.
        assert(cambio || pc.Alcance.isNull() || HuellaPose(*c) == pc.HuellaPose);
#endif
        if (!pc.Alcance.isNull() && fuera(pc.Alcance)) {
            // Outside the picture and posed as it stands: nothing to do.
            if (cambio) {
                posar(c);
                pc.Alcance = AlcanceDe(*c);
                pc.ExtensionPropia = ExtensionDe(*c);
                if (!fuera(pc.Alcance))
                    c->Dibujar();
            }
        } else {
            dibujar(c, !cambio && !pc.Alcance.isNull());
            pc.Alcance = AlcanceDe(*c);
            pc.ExtensionPropia = ExtensionDe(*c);
        }
        pc.ColocacionPosada = colocacion;
        c->PoseVieja = false;
#ifndef NDEBUG
        pc.HuellaPose = HuellaPose(*c);
#endif
        unir(pc.ExtensionPropia);
        auto* v = c->EsValvula() ? dynamic_cast<TAerValvula*>(c) : nullptr;
        if (v && v->GetCilindro() && MostrarEnclavamientos &&
            (Modo == mdEdicion || Modo == mdSeleccion || Modo == mdEnclavar) && GetGraphics()) {
            QPainter* g = GetGraphics();
            g->save();
            g->setTransform(TransformPantalla());
            QPen pluma = Pen;
            pluma.setWidthF(0.2);
            g->setPen(pluma);
            g->drawLine(QPointF(v->X, v->Y), QPointF(v->GetCilindro()->X, v->GetCilindro()->Y));
            g->restore();
        }
    }
    // Texts follow their element, and are painted only near the picture: a
    // square about the anchor wider than any line of the text could be, in
    // any turn. A text's mark is posed, as an element is, when it is near
    // the picture or something its pose depends on changed; one whose mark
    // is hidden is posed again when it shows.
    const bool marcas = MostrarEstrellas && Modo < mdTubo;
    for (int i = 0; i < Textos.Count(); ++i) {
        auto* e = Textos.ItemComo<TAerComponente>(i);
        auto* t = e->GetTipo() == TTipoComponente::TextBox ? dynamic_cast<TAerTexto*>(e) : nullptr;
        if (!t || vista.isEmpty()) {
            e->Dibujar();
        } else {
            t->Seguir();
            const double r =
                2.0 * (static_cast<double>(t->Cadena.size()) + 2.0) * std::max(t->GetTamano(), 1.0);
            auto [pt, colocacion, cambio] = PoseActual(*t);
#ifndef NDEBUG
            assert(cambio || !marcas || HuellaPose(*t) == pt.HuellaPose);
#endif
            if (!fuera(QRectF(t->X - r, t->Y - r, 2 * r, 2 * r)))
                dibujar(t, !cambio && marcas);
            else if (marcas && cambio)
                posar(t);
            pt.ColocacionPosada = colocacion;
            t->PoseVieja = !marcas;
#ifndef NDEBUG
            if (marcas)
                pt.HuellaPose = HuellaPose(*t);
#endif
        }
        unir(TCADLimites::DeRectF(e->Bounds));
    }
    // Tubes the same way; the picture can only be reached through their
    // points, and they are posed from their ends, so after the elements.
    for (int i = 0; i < Tubos.Count(); ++i) {
        auto* t = static_cast<TAerTubo*>(Tubos.Item(i));
        auto [pt, colocacion, cambio] = PoseActual(*t);
#ifndef NDEBUG
        assert(cambio || pt.Alcance.isNull() || HuellaTubo(*t) == pt.HuellaPose);
#endif
        const bool dentro = !fuera(cambio || pt.Alcance.isNull() ? AlcanceDe(*t) : pt.Alcance);
        if (dentro)
            dibujar(t, !cambio && !pt.Alcance.isNull());
        else if (cambio)
            posar(t);
        if (dentro || cambio) {
            pt.Alcance = AlcanceDe(*t);
            pt.ExtensionPropia = ExtensionDe(*t);
        }
        pt.ColocacionPosada = colocacion;
        t->PoseVieja = false;
#ifndef NDEBUG
        pt.HuellaPose = HuellaTubo(*t);
#endif
        unir(pt.ExtensionPropia);
    }

    // The extent is the union of every rectangle that has an area, so the
    // origin counts only when something lies there.
#ifndef NDEBUG
    {
        TCADLimites antes;
        auto unirRect = [&antes](const TCADRectF& r) {
            const TCADLimites b = TCADLimites::DeRectF(r);
            if (antes.Vacio())
                antes = b;
            else
                UnirLimites(antes, b, antes);
        };
        for (int i = 0; i < Componentes.Count(); ++i) {
            const auto* c = Componentes.ItemComo<TAerComponente>(i);
            unirRect(c->Bounds);
            for (int j = 0; j < c->Elementos.Count(); ++j) {
                const QRectF r = c->Elemento(j)->Region.Limites();
                unirRect({static_cast<float>(r.x()), static_cast<float>(r.y()),
                          static_cast<float>(r.width()), static_cast<float>(r.height())});
            }
        }
        for (int i = 0; i < Textos.Count(); ++i)
            unirRect(Textos.ItemComo<TAerComponente>(i)->Bounds);
        for (int i = 0; i < RefVertices.Count(); ++i)
            if (auto* v = Referido(RefVertices, i))
                unirRect(v->Bounds);
        assert(antes.Vacio() == total.Vacio() && (antes.Vacio() || antes == total));
    }
#endif
    if (total.Vacio())
        total = {-10, 10, 10, -10};
    Extension = total.ARectF();
}

void TAerPaintBox::Paint() {
    if (!Preparar())
        return;
    // The pointer's highlight belongs to the screen, not to a picture.
    if (Modo < mdVerificar && Resaltado && !Resaltado->Marcado && !PintandoImagen()) {
        const QBrush previo = Brush;
        Brush = QBrush(QColor::fromRgba(0xFF4682B4u));
        RellenarArea(Resaltado->Region);
        Brush = previo;
    }
    try {
        DibujarCircuito();
        DibujarBanda();
        if (OnPintar)
            OnPintar(*this);
    } catch (...) {
        Mostrar(); // the next paint starts afresh
        throw;
    }
    Mostrar();
}

void TAerPaintBox::ActualizarGeometria() {
    DibujarCircuito();
}

TCADLimites TAerPaintBox::ExtensionCircuito() {
    ActualizarGeometria();
    return TCADLimites::DeRectF(Extension);
}

void TAerPaintBox::MarcarTubosControl() {
    auto tubo = [](TAerComponente* t) { return static_cast<TAerTubo*>(t); };
    for (int i = 0; i < Tubos.Count(); ++i)
        tubo(Tubos.ItemComo<TAerComponente>(i))->TuboControl = 0;

    // A depth-first walk from each starting tube along the tubes, with its own stack
    // (a pilot line can be thousands of links long). Each frame is a point
    // the signal came in through and the next sibling point to look at; the
    // order of the walk decides which side first reaches a tube, so it is
    // the order of a recursive walk.
    struct TMarco {
        TAerConexion* Entrada;
        TAerComponente* Comp;
        int K;
    };
    std::vector<TMarco> pila;
    auto entrar = [&](TAerConexion* c) {
        if (TAerComponente* comp = c->GetPadre())
            pila.push_back({c, comp, 0});
    };
    auto recorrer = [&](TAerConexion* inicio) {
        entrar(inicio);
        while (!pila.empty()) {
            TMarco& m = pila.back();
            TAerComponente* comp = m.Comp;
            if (m.K >= comp->Elementos.Count()) {
                pila.pop_back();
                continue;
            }
            TAerComponente* sub = comp->Elemento(m.K++);
            if (!sub->EsConexion() || sub == m.Entrada)
                continue;
            auto* e = static_cast<TAerConexion*>(sub);
            const bool valvula = comp->EsValvula();
            if (valvula && !(e->GetTipo() == TTipoComponente::Conexion && e->Entrada))
                continue;
            if (!e->Tubo || e->Tubo->TuboControl)
                continue;
            e->Tubo->TuboControl = 1;
            TAerConexion* otro = e->Tubo->Inicio == e ? e->Tubo->Fin : e->Tubo->Inicio;
            if (!otro)
                continue;
            if (valvula) {
                const TAerComponente* p = otro->GetPadre();
                if (p && (p->EsPresion() || p->EsEscape() || p->EsConectorT()))
                    continue;
            }
            entrar(otro); // m is not used after this: the vector may move
        }
    };

    auto sembrar = [&](TAerConexion* semilla) {
        if (!semilla || !semilla->Tubo || semilla->Tubo->TuboControl)
            return;
        semilla->Tubo->TuboControl = 1;
        if (semilla->Tubo->Inicio)
            recorrer(semilla->Tubo->Inicio);
    };
    for (int i = 0; i < RefConexiones.Count(); ++i) {
        auto* c = static_cast<TAerConexion*>(Referido(RefConexiones, i));
        if (c->EsPilotada())
            sembrar(c);
    }
    for (int i = 0; i < Componentes.Count(); ++i) {
        auto* c = Componentes.ItemComo<TAerComponente>(i);
        if (c->EsTemporizador())
            sembrar(c->Conexion(0));
    }

    auto extremoLibre = [](TAerConexion* c) {
        const TAerComponente* p = c ? c->GetPadre() : nullptr;
        return p && (p->EsPresion() || p->EsEscape());
    };
    for (int i = 0; i < Tubos.Count(); ++i) {
        auto* t = tubo(Tubos.ItemComo<TAerComponente>(i));
        if (extremoLibre(t->Inicio) || extremoLibre(t->Fin))
            t->TuboControl = 0;
    }
}

} // namespace ventix
