// Opens the editor on an example circuit in one of three states, for
// screenshots under Xvfb (tools/capturas): "edicion" (a valve selected),
// "errores" (a check that found errors), "ejecucion" (a running circuit),
// "diagrama" (example 09 run with its displacement-step diagram) and
// "diagrama-paso" (the same, paused, showing step 15).

#include "circuit/AerConexion.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "editor/Aplicacion.h"
#include "editor/FormErrores.h"
#include "editor/FormMain.h"
#include "editor/PanelDiagrama.h"
#include "editor/PanelSimulacion.h"
#include "sim/SimCircuito.h"

#include <QLineEdit>

#include <QTimer>

#include <cstring>
#include <filesystem>

using namespace ventix;
using T = TTipoComponente;

namespace {

TAerTubo* Unir(TAerPaintBox& L, TAerConexion* a, TAerConexion* b,
               std::initializer_list<TCADCoordenada> Codos = {}) {
    auto* t = TAerTubo::Crear(L);
    t->SetInicio(a);
    for (const auto& c : Codos)
        t->AnadirVertice(c);
    t->SetFin(b);
    t->AnadirVertice({b->XMundo, b->YMundo});
    return t;
}

TAerComponente* Poner(TAerComponente* e, double x, double y, const char* Nombre = nullptr) {
    e->X = x;
    e->Y = y;
    if (Nombre)
        e->SetNombre(Nombre);
    return e;
}

void Etiqueta(TAerPaintBox& L, TAerComponente* e, double dx, double dy) {
    auto* t = TAerTexto::Crear(L);
    t->Cadena = e->GetNombre();
    t->X = e->X + dx;
    t->Y = e->Y + dy;
    t->SetAsociado(e);
}

// Two cylinders, each driven by a 3/2 valve fed from a source: a push-button
// valve and a bistable relay valve.
void Ejemplo(TAerPaintBox& L, bool ConErrores) {
    auto* P1 = Poner(TAerComponente::Crear(L, T::Presion), 0, -45, "P1");
    auto* V1 = Poner(TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC), 0, -10, "V1");
    auto* C1 = Poner(TAerComponente::Crear(L, T::CilindroSimple), 10, 30, "A");
    auto* P2 = Poner(TAerComponente::Crear(L, T::Presion), 100, -45, "P2");
    auto* V2 = Poner(TAerValvula::Crear(L, false, TActuador::Rele, T::Valvula32NC), 100, -10, "V2");
    auto* C2 = Poner(TAerComponente::Crear(L, T::CilindroDoble), 110, 30, "B");
    if (ConErrores) {
        Poner(TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NA), 160, -10, "S1");
        Poner(TAerComponente::Crear(L, T::Escape), 160, 30);
    }
    L.ActualizarGeometria();
    auto k = [](TAerComponente* e, int i) { return e->Conexion(i); };
    Unir(L, k(P1, 0), k(V1, 0));
    Unir(L, k(V1, 2), k(C1, 0));
    Unir(L, k(P2, 0), k(V2, 0));
    Unir(L, k(V2, 2), k(C2, 0));
    for (auto* e : {V1, V2, C1, C2})
        Etiqueta(L, e, e->EsCilindro() ? -30 : -24, 2);
    L.MarcarTubosControl();
}

} // namespace

int main(int argc, char** argv) {
    TAplicacion App(argc, argv);
    const std::string Escena = argc > 1 ? argv[1] : "edicion";
    const std::filesystem::path Catalogo =
        argc > 2 ? std::filesystem::path(argv[2]) : RutaCatalogoPorDefecto();
    TfrmMain F(Catalogo);
    F.show();
    TAerPaintBox& L = *F.Lienzo;
    const bool Diagrama = Escena.rfind("diagrama", 0) == 0;
    if (Diagrama) {
        F.resize(1100, 860);
        F.move(0, 0);
        F.AbrirArchivo(std::filesystem::path(VENTIX_RAIZ) / "examples" /
                       "09_secuencia_dos_cilindros.aer");
    } else {
        Ejemplo(L, Escena == "errores");
    }
    QTimer::singleShot(300, [&] {
        F.btnZoomExtensionClick();
        L.PosicionRaton = {12.5, -3};
        F.ActualizarEstado();
        if (Escena == "edicion") {
            auto* v = L.Componentes.ItemComo<TAerComponente>(1);
            L.Deseleccionar();
            bool a = true;
            F.AlSeleccionar(v, a);
            L.Seleccionar(v);
        } else if (Escena == "errores") {
            F.btnCheckClick();
            F.move(0, 0);
            F.frmErrores->move(F.frameGeometry().right() + 4, 120);
        } else if (Escena == "acerca") {
            QTimer::singleShot(0, [&] { F.btnAboutClick(); });
        } else if (Diagrama) {
            F.btnDiagrama->click();
            F.pDiagrama->edSecuencia->setText(QStringLiteral("A+ B+ A- B-"));
            F.btnCheckClick();
            F.btnPlayClick();
            F.PanelSimulacion->Botones[0]->click(); // Marcha, held for one step
            F.Simulacion->Tic();
            F.PanelSimulacion->Botones[0]->click();
            for (int i = 0; i < 27; ++i)
                F.Simulacion->Tic();
            F.btnPauseClick();
            if (Escena == "diagrama-paso")
                F.pDiagrama->MostrarPaso(15);
        } else if (Escena == "ejecucion") {
            // Room for the rods once the cylinders are out.
            F.Lienzo->AlejarZoom();
            F.Lienzo->Centrar(76, -7);
            F.ActualizarEstado();
            F.btnCheckClick();
            F.btnPlayClick();
            // V1 held down; V2 switched over with its left-hand button.
            if (F.PanelSimulacion && F.PanelSimulacion->Botones.size() == 3) {
                F.PanelSimulacion->Botones[0]->click();
                F.PanelSimulacion->Botones[1]->click();
            }
        }
        F.Repintar();
    });
    return App.exec();
}
