#include "circuit/AerPaintBox.h"

#include "cad/Simbolos.h"
#include "circuit/AerConexion.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include <QPainter>

#include <algorithm>
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
        Destruyendo = false;
        throw;
    }
    Destruyendo = false;
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
    if (Seleccionado == E)
        Seleccionado = nullptr;
    if (Resaltado == E)
        Resaltado = nullptr;
    if (TuboNuevo == E)
        TuboNuevo = nullptr;
    Grupo.erase(std::remove(Grupo.begin(), Grupo.end(), E), Grupo.end());
    if (Destruyendo)
        return; // every list is being emptied anyway
    for (TColeccion* lista : {&RefConexiones, &RefActuadores, &RefVertices})
        for (int i = lista->Count() - 1; i >= 0; --i)
            if (Referido(*lista, i) == E)
                lista->Borrar(i);
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
    const auto id = sel->GetID();
    if (auto* c = Componentes.BuscarID(id); c == sel)
        delete c;
    else if (auto* t = Textos.BuscarID(id); t == sel)
        delete t;
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
            if (const auto& escape = static_cast<const TAerConexion*>(e)->SimboloEscape)
                r |= C.Matriz.mapRect(escape->Region.Limites());
    }
    return r;
}

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
    // Elements that paint outside the picture are only posed, so their
    // geometry and hit areas stay current; the margin takes in pen widths,
    // symbol texts and anti-aliasing. Which elements those are is known from
    // their last drawing; one that moved into view is drawn again at once.
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
    for (int i = 0; i < Componentes.Count(); ++i) {
        auto* c = Componentes.ItemComo<TAerComponente>(i);
        if (!c->Alcance.isNull() && fuera(c->Alcance)) {
            // Outside the picture and posed as it stands: nothing to do.
            const std::uint64_t huella = HuellaPose(*c);
            if (huella != c->HuellaPose) {
                posar(c);
                c->HuellaPose = huella;
                c->Alcance = AlcanceDe(*c);
                if (!fuera(c->Alcance))
                    c->Dibujar();
            }
        } else {
            c->Dibujar();
            c->Alcance = AlcanceDe(*c);
            c->HuellaPose = vista.isEmpty() ? 0 : HuellaPose(*c);
        }
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
    // Texts are placed (they follow their element) and then painted only near
    // the picture: a square about the anchor wider than any line of the text
    // could be, in any turn.
    for (int i = 0; i < Textos.Count(); ++i) {
        auto* e = Textos.ItemComo<TAerComponente>(i);
        auto* t = dynamic_cast<TAerTexto*>(e);
        if (!t || vista.isEmpty()) {
            e->Dibujar();
            continue;
        }
        posar(t);
        const double r =
            2.0 * (static_cast<double>(t->Cadena.size()) + 2.0) * std::max(t->GetTamano(), 1.0);
        if (!fuera(QRectF(t->X - r, t->Y - r, 2 * r, 2 * r)))
            t->Dibujar();
    }
    // Tubes the same way; the picture can only be reached through their points.
    for (int i = 0; i < Tubos.Count(); ++i) {
        auto* t = static_cast<TAerTubo*>(Tubos.Item(i));
        if (!fuera(AlcanceDe(*t))) {
            t->Dibujar();
            t->HuellaPose = 0;
        } else if (HuellaTubo(*t) != t->HuellaPose) {
            posar(t);
            t->HuellaPose = HuellaTubo(*t);
        }
    }

    // The union starts from the first rectangle that has an area, so the
    // origin counts only when something lies there.
    TCADLimites total;
    auto unir = [&total](const TCADRectF& r) {
        const TCADLimites b = TCADLimites::DeRectF(r);
        if (total.Vacio())
            total = b;
        else
            UnirLimites(total, b, total);
    };
    // A component's actuators and springs are elements of their own and
    // reach beyond its body; their hit areas are in circuit coordinates.
    for (int i = 0; i < Componentes.Count(); ++i) {
        const auto* c = Componentes.ItemComo<TAerComponente>(i);
        unir(c->Bounds);
        for (int j = 0; j < c->Elementos.Count(); ++j) {
            const QRectF r = c->Elemento(j)->Region.Limites();
            unir({static_cast<float>(r.x()), static_cast<float>(r.y()),
                  static_cast<float>(r.width()), static_cast<float>(r.height())});
        }
    }
    for (int i = 0; i < Textos.Count(); ++i)
        unir(Textos.ItemComo<TAerComponente>(i)->Bounds);
    for (int i = 0; i < RefVertices.Count(); ++i)
        unir(Referido(RefVertices, i)->Bounds);
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
    DibujarCircuito();
    DibujarBanda();
    if (OnPintar)
        OnPintar(*this);
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
