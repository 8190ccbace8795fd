#include "circuit/AerComponente.h"

#include "cad/Simbolos.h"
#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"

#include <QPainter>

#include <cmath>

namespace ventix {

namespace {

// The element as a connection point with a tube, or null.
TAerConexion* Conectado(TAerComponente* E) {
    if (!E->EsConexion())
        return nullptr;
    auto* c = static_cast<TAerConexion*>(E);
    return c->Tubo ? c : nullptr;
}

// Nearest multiple of 0.0001, ties to even: the precision of element bounds.
float Redondear4(double v) {
    return static_cast<float>(std::nearbyint(v * 10000.0) / 10000.0);
}

} // namespace

TAerComponente::TAerComponente(TAerPaintBox& L, TTipoComponente T)
    : Individuos(TCADIndividuo::Clase()), Elementos(TAerComponente::Clase()), Lienzo(&L), Tipo(T) {
    if (NumeroTipo(T) >= NumeroTipo(TTipoComponente::Tubo))
        return;
    auto* inst = static_cast<TCADIndividuo*>(Individuos.Nuevo());
    Individuo = inst;
    inst->SetComponente(L.Libreria.GetSimbolo(T));
    SetParametro(L.Libreria.GetParametro(T));
    X = L.Libreria.GetLinkX(T);
    Y = L.Libreria.GetLinkY(T);
}

TAerComponente* TAerComponente::Crear(TAerPaintBox& L, TTipoComponente T) {
    auto c = std::make_unique<TAerComponente>(L, T);
    c->CrearConexiones();
    return static_cast<TAerComponente*>(L.Componentes.Agregar(std::move(c)));
}

void TAerComponente::CrearConexiones() {
    const int n = Lienzo->Libreria.GetConexiones(Tipo);
    const bool piloto = Tipo == TTipoComponente::ActuadorPilotadoIzquierdo ||
                        Tipo == TTipoComponente::ActuadorPilotadoDerecho;
    for (int i = 1; i <= n; ++i) {
        const auto punto = Lienzo->Libreria.GetConexion(Tipo, i);
        auto c = std::make_unique<TAerConexion>(*Lienzo, piloto ? TTipoComponente::ConexionPilotada
                                                                : TTipoComponente::Conexion);
        c->X = punto.X;
        c->Y = punto.Y;
        c->Entrada = punto.Tipo == 1 || punto.Tipo == 10;
        c->Salida = punto.Tipo == 0 || punto.Tipo == 10;
        auto* p = Adoptar(std::move(c));
        Lienzo->RefConexiones.Agregar(std::make_unique<TComponenteItem>(p));
    }
}

TAerComponente::~TAerComponente() {
    // The tubes at this element's points go with it; a tube detaches its
    // other end as it goes.
    const int t = NumeroTipo(Tipo);
    if ((t >= 1 && t <= 15) || Tipo == TTipoComponente::ConectorT) {
        const TLoteTubos lote(*Lienzo);
        for (int i = Elementos.Count() - 1; i >= 0; --i) {
            if (auto* c = Conectado(Elemento(i)))
                delete c->Tubo;
        }
    }
    // Texts that follow this element go with it (when the canvas empties,
    // they go anyway).
    for (int i = Lienzo->Vaciando() ? -1 : Lienzo->Textos.Count() - 1; i >= 0; --i) {
        if (i >= Lienzo->Textos.Count())
            continue; // a text that went took another with it
        auto* item = Lienzo->Textos.Item(i);
        if (item == this)
            continue;
        if (auto* texto = static_cast<TAerTexto*>(item); texto->GetAsociado() == this)
            delete texto;
    }
    Elementos.BorrarTodo();
    Lienzo->Olvidar(this);
}

void TAerComponente::SetParametro(double V) {
    // A sub-element first takes its parents' earlier states, which this one
    // follows.
    if (Padre)
        TomarEstado();
    if (V == Parametro)
        return;
    Parametro = V;
    PoseCambiada();
    if (EstadosSinDar < 2)
        ++EstadosSinDar;
}

// Handing each state over at once gives a sub-element the last one, and its
// own sub-elements get it too unless it already held that state. After more
// than one change the sub-element held the one before the last, so it
// changes with the last for certain: it takes the state as changed. Points,
// the deepest sub-elements, have none of their own, so this is exact.
void TAerComponente::DarEstado() {
    if (EstadosSinDar == 0)
        return;
    const bool variasVeces = EstadosSinDar > 1;
    EstadosSinDar = 0;
    for (int i = 0; i < Elementos.Count(); ++i) {
        TAerComponente* sub = Elemento(i);
        if (sub->Parametro != Parametro)
            sub->SetParametro(Parametro);
        else if (variasVeces && sub->Elementos.Count() > 0)
            sub->EstadosSinDar = 2;
    }
}

void TAerComponente::TomarEstado() {
    if (Padre) {
        Padre->TomarEstado();
        Padre->DarEstado();
    }
}

void TAerComponente::PoseCambiada() {
    TAerComponente* e = this;
    while (e->Padre)
        e = e->Padre;
    e->PoseVieja = true;
    if (e->EsVertice())
        if (auto* t = static_cast<TAerVertice*>(e)->Tubo)
            t->PoseVieja = true;
}

void TAerComponente::SetPadre(TAerComponente* P) {
    if (P == Padre)
        return;
    // Each takes what its parent had for it before it moves.
    if (Padre)
        Padre->DarEstado();
    if (P)
        P->DarEstado();
    SetColeccion(P ? &P->Elementos : &Lienzo->Componentes);
    Padre = P;
    PoseCambiada();
}

bool TAerComponente::Reflejado() const {
    return Simetrico && (EsCilindro() || EsValvula() || EsTemporizador() || EsRegulador());
}

QTransform TAerComponente::Colocacion() const {
    QTransform m;
    m.translate(X, Y);
    if (Alfa != 0)
        m.rotate(Alfa);
    if (EscalaX != 0 || EscalaY != 0)
        m.scale(EscalaX, EscalaY);
    if (Reflejado())
        m.scale(-1, 1);
    return m;
}

void TAerComponente::Dibujar() {
    auto& vista = *Lienzo;
    const int estado = vista.PushTransform(X, Y, Alfa, EscalaX, EscalaY);
    if (Reflejado())
        vista.EscalarNivel(-1, 1);

    bool dibujar = true;
    if (EsConexion())
        dibujar = static_cast<const TAerConexion*>(this)->MostrarMarca();
    DarEstado();
    for (int i = 0; i < Individuos.Count(); ++i) {
        auto* inst = Individuos.ItemComo<TCADIndividuo>(i);
        inst->Estado = Parametro;
        inst->Dibujar(vista, dibujar);
    }

    // The element's own coordinates to its parent's.
    const QTransform matriz = vista.TransformActual();
    Region.Vaciar();
    for (int i = 0; i < Individuos.Count(); ++i) {
        const auto* inst = Individuos.ItemComo<TCADIndividuo>(i);
        if (inst->Visible)
            Region.UnirTransformada(inst->Region().Region, matriz);
    }
    const QRectF r = Region.Limites();
    Bounds = {Redondear4(r.x()), Redondear4(r.y()), Redondear4(r.width()), Redondear4(r.height())};
    Lienzo->AreaPosada(this);

    for (int i = 0; i < Elementos.Count(); ++i) {
        auto* sub = Elemento(i);
        if (sub->Tipo == TTipoComponente::ActuadorAnclaje && sub->Parametro <= 0.94) {
            // An anchor mark that is not shown has no area: transforming a
            // stale one at every drawing would carry it ever further away.
            sub->Region.Vaciar();
            Lienzo->AreaPosada(sub);
            continue;
        }
        sub->Dibujar();
        sub->Region.Transformar(matriz);
    }
    vista.PopTransform(estado);

    if (Marcado && vista.GetGraphics()) {
        const QBrush previo = vista.Brush;
        vista.Brush = QBrush(QColor::fromRgba(Lienzo->ColorSeleccion));
        vista.RellenarArea(Region);
        vista.Brush = previo;
    }
}

bool TAerComponente::ContienePunto(const TCADCoordenada& Punto) const {
    return Region.Contiene(QPointF(static_cast<float>(Punto.X), static_cast<float>(Punto.Y)));
}

int TAerComponente::NumConexiones() const {
    int n = 0;
    for (int i = 0; i < Elementos.Count(); ++i)
        if (Elemento(i)->EsConexion())
            ++n;
    return n;
}

int TAerComponente::NumConectadas() const {
    int n = 0;
    for (int i = 0; i < Elementos.Count(); ++i)
        if (auto* e = Elemento(i); e->EsConexion())
            if (auto* c = static_cast<TAerConexion*>(e); c->Tubo || c->MostrarEscape())
                ++n;
    return n;
}

int TAerComponente::NumSueltas() const {
    int n = 0;
    for (int i = 0; i < Elementos.Count(); ++i)
        if (auto* e = Elemento(i); e->EsConexion())
            if (auto* c = static_cast<TAerConexion*>(e); !c->Tubo && !c->MostrarEscape())
                ++n;
    return n;
}

void TAerComponente::AnticiparPuntos() const {
    // A point's type and parent, and its tube, which a connection point
    // keeps right after what every element has: asking whether it is one
    // would wait for it.
    for (int i = 0; i < Elementos.Count(); ++i) {
        const TAerComponente* e = Elemento(i);
        __builtin_prefetch(&e->Padre);
        __builtin_prefetch(&e->Parametro + 1);
    }
}

TAerConexion* TAerComponente::Conexion(int i) const {
    for (int k = 0; k < Elementos.Count(); ++k)
        if (auto* e = Elemento(k); e->EsConexion() && i-- == 0)
            return static_cast<TAerConexion*>(e);
    return nullptr;
}

void TAerComponente::ActualizarSentido() {
    PoseCambiada(); // an open port of some types shows an exhaust
    auto dosVias = [](TAerConexion* c) { c->Entrada = c->Salida = true; };
    auto soloSalida = [](TAerConexion* c) {
        c->Entrada = false;
        c->Salida = true;
    };
    auto soloEntrada = [](TAerConexion* c) {
        c->Entrada = true;
        c->Salida = false;
    };
    if (EsRegulador()) {
        TAerConexion* c0 = Conexion(0);
        TAerConexion* c1 = Conexion(1);
        if (!c0 || !c1)
            return;
        TAerConexion* p = c1->Tubo ? c1 : c0;
        TAerConexion* q = p == c1 ? c0 : c1;
        const int tubos = (c0->Tubo ? 1 : 0) + (c1->Tubo ? 1 : 0);
        if (tubos == 0) {
            dosVias(c0);
            dosVias(c1);
        } else if (tubos == 1) {
            if (p->Entrada)
                soloSalida(q);
            else
                soloEntrada(q);
        }
    } else if (EsConectorT()) {
        std::vector<TAerConexion*> conectados, libres;
        for (int i = 0; i < 3; ++i) {
            TAerConexion* c = Conexion(i);
            if (!c)
                return;
            (c->Tubo ? conectados : libres).push_back(c);
        }
        if (conectados.empty()) {
            for (auto* c : libres)
                dosVias(c);
        } else if (conectados.size() == 1) {
            for (auto* c : libres)
                conectados[0]->Entrada ? soloSalida(c) : dosVias(c);
        } else if (conectados.size() == 2) {
            if (!conectados[0]->Entrada && !conectados[1]->Entrada)
                soloEntrada(libres[0]);
            else
                soloSalida(libres[0]);
        }
    }
}

void TComponenteItem::Assign(const TColeccionItem& Origen) {
    if (const auto* r = dynamic_cast<const TComponenteItem*>(&Origen)) {
        Contar(-1);
        Componente = r->Componente;
        Contar(+1);
    }
    TColeccionItem::Assign(Origen);
}

void TComponenteItem::Contar(int Delta) {
    if (!Componente)
        return;
    Componente->Referencias += Delta;
    if (Delta > 0)
        Componente->Referencia = this;
    else if (Componente->Referencia == this)
        Componente->Referencia = nullptr;
}

} // namespace ventix
