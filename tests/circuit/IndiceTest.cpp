#include "ConCatalogo.h"

#include "files/ArchivoAer.h"

#include <random>

using namespace ventix;

namespace {

class Indice : public TConCatalogo {
protected:
    Indice() : TConCatalogo(VENTIX_TEST_DATA "/../../data/Librerías/LIBRERÍA.txt") {}

    // The element at a point as a pass over every list finds it: the last
    // component; then the last point, unless a T connector was hit; the last
    // text while marks show; the last vertex while vertices show.
    TAerComponente* Recorriendo(const TCADCoordenada& P) const {
        TAerComponente* r = nullptr;
        for (int i = 0; i < L.Componentes.Count(); ++i)
            if (auto* c = L.Componentes.ItemComo<TAerComponente>(i); c->ContienePunto(P))
                r = c;
        if (!(r && r->EsConectorT()))
            for (int i = 0; i < L.RefConexiones.Count(); ++i)
                if (auto* c = TAerPaintBox::Referido(L.RefConexiones, i); c->ContienePunto(P))
                    r = c;
        if (L.MostrarEstrellas)
            for (int i = 0; i < L.Textos.Count(); ++i)
                if (auto* t = L.Textos.ItemComo<TAerComponente>(i); t->ContienePunto(P))
                    r = t;
        if (L.MostrarVertices && L.Modo < mdEnclavar)
            for (int i = 0; i < L.RefVertices.Count(); ++i)
                if (auto* v = TAerPaintBox::Referido(L.RefVertices, i); v->ContienePunto(P))
                    r = v;
        return r;
    }
};

} // namespace

// The spatial index answers what a pass over every element answers, through
// random edits: elements added on top of one another, moved, turned,
// mirrored, switched, dragged, deleted with their tubes and texts, a circuit
// read back as undo does, a group pasted, the view moved so that part of the
// circuit is not posed, the switches that decide what may be hit. Points are
// tried at random and on every element's area, its edges included.
TEST_F(Indice, AnswersAsAPassOverEveryElementThroughRandomEdits) {
    std::mt19937 azar(17);
    auto entero = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
    auto real = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(azar);
    };
    L.SetCliente(400, 300);
    L.Activar();
    L.MostrarConexiones = L.MostrarVertices = L.MostrarEstrellas = L.MostrarTextos = true;
    L.Paint();
    L.SetZoom(2);

    const std::vector<T> tipos = {T::Presion,       T::Escape,      T::CilindroSimple,
                                  T::CilindroDoble, T::ConectorT,   T::ValvulaAnd,
                                  T::ValvulaOr,     T::Regulador1,  T::TemporizadorNC,
                                  T::Valvula52,     T::Valvula32NC, T::Valvula22NA};
    const std::vector<TActuador> actuadores = {TActuador::Seta, TActuador::Rodillo,
                                               TActuador::Pilotado, TActuador::Rele,
                                               TActuador::Escamoteable};
    auto componente = [&](int i) { return L.Componentes.ItemComo<TAerComponente>(i); };
    auto alguno = [&]() -> TAerComponente* {
        return L.Componentes.Count() ? componente(entero(0, L.Componentes.Count() - 1)) : nullptr;
    };
    auto libre = [&](TAerComponente* c) -> TAerConexion* {
        for (int k = 0; k < c->NumConexiones(); ++k)
            if (!c->Conexion(k)->Tubo)
                return c->Conexion(k);
        return nullptr;
    };

    int pruebas = 0, acertadas = 0;
    auto probar = [&](const TCADCoordenada& P) {
        TAerComponente* esperado = Recorriendo(P);
        ASSERT_EQ(L.ElementoEn(P), esperado) << "at (" << P.X << ", " << P.Y << ")";
        ++pruebas;
        acertadas += esperado != nullptr;
    };
    auto probarArea = [&](const TAerComponente* e) {
        if (e->Region.Vacia())
            return;
        const QRectF r = e->Region.Limites();
        for (const QPointF& p : {r.center(), entero(0, 1) ? r.topLeft() : r.bottomRight()})
            probar({p.x(), p.y()});
        probar({real(r.left(), r.right()), real(r.top(), r.bottom())});
    };
    // Random points, and the areas of some elements of each kind.
    auto probarTodo = [&] {
        for (int k = 0; k < 15; ++k)
            probar({real(-150, 150), real(-150, 150)});
        for (int k = 0; k < 4 && L.Componentes.Count(); ++k) {
            TAerComponente* c = alguno();
            probarArea(c);
            for (int j = 0; j < c->Elementos.Count(); ++j)
                probarArea(c->Elemento(j));
        }
        for (int k = 0; k < 3 && L.Textos.Count(); ++k)
            probarArea(L.Textos.ItemComo<TAerComponente>(entero(0, L.Textos.Count() - 1)));
        for (int k = 0; k < 3 && L.RefVertices.Count(); ++k)
            probarArea(TAerPaintBox::Referido(L.RefVertices, entero(0, L.RefVertices.Count() - 1)));
    };

    for (int paso = 0; paso < 200; ++paso) {
        switch (entero(0, 15)) {
        case 0:
        case 1:
        case 2: { // a component, often on top of others (coarse grid)
            const T tipo = tipos[static_cast<std::size_t>(entero(0, int(tipos.size()) - 1))];
            TAerComponente* c =
                EsValvula(tipo) && tipo != T::ValvulaAnd && tipo != T::ValvulaOr
                    ? TAerValvula::Crear(L, entero(0, 1) == 1,
                                         actuadores[static_cast<std::size_t>(entero(0, 4))], tipo)
                    : TAerComponente::Crear(L, tipo);
            c->X = entero(-10, 10) * 10.0;
            c->Y = entero(-10, 10) * 10.0;
            break;
        }
        case 3: { // a text, maybe following a component
            auto* t = TAerTexto::Crear(L);
            t->X = real(-100, 100);
            t->Y = real(-100, 100);
            t->Alfa = entero(0, 3) * 45.0;
            if (auto* c = alguno(); c && entero(0, 1))
                t->SetAsociado(c);
            break;
        }
        case 4:
        case 5: { // a tube between two free points, with bends
            TAerComponente* a = alguno();
            TAerComponente* b = alguno();
            if (!a || !b || a == b)
                break;
            TAerConexion* pa = libre(a);
            TAerConexion* pb = libre(b);
            if (!pa || !pb)
                break;
            std::vector<TCADCoordenada> medio;
            for (int k = entero(0, 2); k > 0; --k)
                medio.push_back({real(-100, 100), real(-100, 100)});
            Unir(pa, pb, medio);
            break;
        }
        case 6: // moved
            if (auto* c = alguno()) {
                c->X += entero(-3, 3) * 5.0;
                c->Y += entero(-3, 3) * 5.0;
            }
            break;
        case 7: // turned, mirrored, scaled
            if (auto* c = alguno()) {
                c->Alfa = entero(0, 3) * 90.0;
                c->Simetrico = entero(0, 1) == 1;
                c->EscalaX = entero(0, 4) == 0 ? 2.0 : 1.0;
            }
            break;
        case 8: // a state: cylinders stretch, roller anchors show
            if (auto* c = alguno())
                c->SetParametro(entero(0, 1));
            break;
        case 9: { // deleted as the user deletes: an element, a text, a bend
            const int k = entero(0, 2);
            if (k == 0)
                L.Seleccionar(alguno());
            else if (k == 1 && L.Textos.Count())
                L.Seleccionar(L.Textos.ItemComo<TAerComponente>(entero(0, L.Textos.Count() - 1)));
            else if (L.RefVertices.Count())
                L.Seleccionar(
                    TAerPaintBox::Referido(L.RefVertices, entero(0, L.RefVertices.Count() - 1)));
            L.BorrarSeleccion();
            break;
        }
        case 10: { // dragged with the mouse
            TAerComponente* c = alguno();
            if (!c || c->Region.Vacia())
                break;
            const QPointF centro = c->Region.Limites().center();
            const QPointF p = L.MundoAPantalla({centro.x(), centro.y()});
            L.MouseDown(Qt::LeftButton, Qt::NoModifier, qRound(p.x()), qRound(p.y()));
            L.MouseMove(Qt::NoModifier, qRound(p.x()) + entero(-20, 20),
                        qRound(p.y()) + entero(-20, 20));
            L.Paint();
            L.MouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
            L.Deseleccionar();
            break;
        }
        case 11: // the switches and the mode
            L.MostrarEstrellas = entero(0, 3) != 0;
            L.MostrarVertices = entero(0, 3) != 0;
            L.Modo = std::vector<std::uint8_t>{mdEdicion, mdSeleccion, mdTubo,
                                               mdVerificar}[static_cast<std::size_t>(entero(0, 3))];
            break;
        case 12: // the view moves: what lies outside is not posed again
            L.SetZoom(real(0.5, 6));
            L.Centrar(real(-100, 100), real(-100, 100));
            break;
        case 13: { // undone: the circuit read back from its lines
            const auto lineas = ArchivoAer::Escribir(L);
            L.BorrarCircuito();
            L.Activar();
            ArchivoAer::Leer(L, lineas);
            break;
        }
        case 14: { // a group copied and pasted
            std::vector<TAerComponente*> grupo;
            for (int k = 0; k < 3; ++k)
                if (auto* c = alguno())
                    if (std::find(grupo.begin(), grupo.end(), c) == grupo.end())
                        grupo.push_back(c);
            if (!grupo.empty())
                ArchivoAer::LeerGrupo(L, ArchivoAer::EscribirGrupo(L, grupo));
            break;
        }
        default: // the whole circuit posed, as a picture does
            L.ActualizarGeometria();
            break;
        }
        // Most edits are followed by a repaint; the others leave areas where
        // they were last posed, which both answers must agree on.
        if (entero(0, 3) != 0)
            L.Paint();
        probarTodo();
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(L.Componentes.Count(), 20);
    EXPECT_GT(acertadas, pruebas / 4);
}
