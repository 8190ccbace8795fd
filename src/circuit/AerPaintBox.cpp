#include "circuit/AerPaintBox.h"

#include "circuit/AerConexion.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include <QPainter>

#include <algorithm>
#include <functional>

namespace ventix {

TAerPaintBox::TAerPaintBox()
    : Libreria(this), Componentes(TAerComponente::Clase()), RefConexiones(TComponenteItem::Clase()),
      RefActuadores(TComponenteItem::Clase()), Textos(TAerComponente::Clase()),
      RefVertices(TComponenteItem::Clase()), Tubos(TAerComponente::Clase()) {}

TAerPaintBox::~TAerPaintBox() {
    // Elements first, while the other lists exist: each takes its reference
    // entries, its tubes and its texts with it.
    Componentes.BorrarTodo();
    Destruyendo = true;
    RefConexiones.BorrarTodo();
    RefActuadores.BorrarTodo();
    Textos.BorrarTodo();
    Tubos.BorrarTodo();
    RefVertices.BorrarTodo();
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
            if (auto* v = Componentes.ItemComo<TAerValvula>(i); v && v->GetCilindro() == E)
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
    Tubos.BorrarTodo();
    RefVertices.BorrarTodo();
    Componentes.BorrarTodo();
    RefConexiones.BorrarTodo();
    RefActuadores.BorrarTodo();
    Textos.BorrarTodo();
    ColorSeleccion = 0x4000FF00u;
    Arrastre = arSeleccion;
    Modo = mdEdicion;
}

void TAerPaintBox::DibujarCircuito() {
    for (int i = 0; i < Componentes.Count(); ++i) {
        auto* c = Componentes.ItemComo<TAerComponente>(i);
        c->Dibujar();
        auto* v = dynamic_cast<TAerValvula*>(c);
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
    for (int i = 0; i < Textos.Count(); ++i)
        Textos.ItemComo<TAerComponente>(i)->Dibujar();
    for (int i = 0; i < Tubos.Count(); ++i)
        Tubos.ItemComo<TAerComponente>(i)->Dibujar();

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

    std::function<void(TAerConexion*)> propagar = [&](TAerConexion* c) {
        TAerComponente* comp = c->GetPadre();
        if (!comp)
            return;
        const bool valvula = comp->EsValvula();
        for (int k = 0; k < comp->Elementos.Count(); ++k) {
            auto* e = dynamic_cast<TAerConexion*>(comp->Elemento(k));
            if (!e || e == c)
                continue;
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
            propagar(otro);
        }
    };

    auto sembrar = [&](TAerConexion* semilla) {
        if (!semilla || !semilla->Tubo || semilla->Tubo->TuboControl)
            return;
        semilla->Tubo->TuboControl = 1;
        if (semilla->Tubo->Inicio)
            propagar(semilla->Tubo->Inicio);
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
