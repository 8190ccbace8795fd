#include "editor/Simulacion.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerValvula.h"

#include <cstdio>
#include <string>

namespace ventix {

TSimulacionEditor::TSimulacionEditor(TAerPaintBox& C) : Canvas(C) {
    Reloj.setInterval(500);
    connect(&Reloj, &QTimer::timeout, this, &TSimulacionEditor::Tick);
    for (int i = 0; i < Canvas.Componentes.Count(); ++i) {
        auto* v = dynamic_cast<TAerValvula*>(Canvas.Componentes.ItemComo<TAerComponente>(i));
        if (!v || (v->GetActuador() != TActuador::Rele && v->GetActuador() != TActuador::Seta))
            continue;
        Manuales.push_back(v);
        PilotosManuales.push_back({v, 0});
        if (v->GetActuador() == TActuador::Rele && !v->GetMonoestable())
            PilotosManuales.push_back({v, 1});
    }
}

void TSimulacionEditor::Restablecer() {
    Fase = 0;
}

void TSimulacionEditor::Paso() {
    Fase = Fase == 0 ? 1 : 0;
}

void TSimulacionEditor::Pulsar(int Boton, bool Abajo) {
    if (Boton < 0 || Boton >= static_cast<int>(PilotosManuales.size()))
        return;
    const TPiloto& p = PilotosManuales[Boton];
    if (p.Valvula->GetMonoestable())
        p.Valvula->SetParametro(Abajo ? 1.0 : 0.0);
    else if (Abajo)
        p.Valvula->SetParametro(p.Posicion == 0 ? 1.0 : 0.0);
}

double TSimulacionEditor::Estado(const TAerValvula* V) const {
    return V->GetParametro();
}

int VerificarCircuito(TAerPaintBox& L) {
    for (int i = 0; i < L.Componentes.Count(); ++i)
        L.Componentes.ItemComo<TAerComponente>(i)->Marcado = false;
    L.Deseleccionar();
    const std::string Separador(55, '-');
    L.Errores = {"Esta ventana se regenerará cuando se vuelva a verificar",
                 "el circuito haciendo click en el botón apropiado.",
                 "Se puede tener abierta durante la edición para",
                 "poder ser consultada en cualquier momento.",
                 "Los componentes con errores se marcan en verde sólo",
                 "en el modo verificación.",
                 Separador,
                 ""};
    int Total = 0, ConErrores = 0;
    char b[512];
    for (int i = 0; i < L.Componentes.Count(); ++i) {
        auto* c = L.Componentes.ItemComo<TAerComponente>(i);
        const int Sueltas = c->NumConexiones() - c->NumConectadas();
        auto* v = dynamic_cast<TAerValvula*>(c);
        const bool SinCilindro =
            v && (v->GetRodillo() || v->GetEscamoteable()) && !v->GetCilindro();
        const int n = Sueltas + (SinCilindro ? 1 : 0);
        if (n == 0)
            continue;
        c->Marcado = true;
        Total += n;
        ++ConErrores;
        const std::string Tipo(NombreTipo(c->GetTipo()));
        if (!c->GetNombre().empty())
            std::snprintf(b, sizeof b, "El Componente \"%s\" del tipo \"%s\" tiene %d error",
                          c->GetNombre().c_str(), Tipo.c_str(), n);
        else
            std::snprintf(b, sizeof b, "El Componente del tipo \"%s\" tiene %d error", Tipo.c_str(),
                          n);
        L.Errores.push_back(std::string(b) + (n > 1 ? "es" : "") + ":");
        if (Sueltas >= 2)
            L.Errores.push_back("    " + std::to_string(Sueltas) + " conexiones sin conectar.");
        else if (Sueltas == 1)
            L.Errores.push_back("    1 conexión sin conectar.");
        if (SinCilindro)
            L.Errores.push_back("    La válvula no está conectada a ningún cilindro.");
        L.Errores.push_back("");
    }
    if (ConErrores > 0) {
        L.Errores.push_back(Separador);
        L.Errores.push_back("Hay un total de " + std::to_string(ConErrores) +
                            (ConErrores >= 2 ? " componentes" : " componente") + " con errores.");
        L.Errores.push_back("Hay un total de " + std::to_string(Total) + " error" +
                            (Total > 1 ? "es" : "") + ".");
        L.Errores.push_back(Separador);
    }
    if (Total == 0)
        L.Errores.push_back("No se han encontrado errores.");
    return Total;
}

} // namespace ventix
