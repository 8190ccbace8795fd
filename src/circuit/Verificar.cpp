#include "circuit/AerPaintBox.h"
#include "circuit/AerValvula.h"

#include <string>

namespace ventix {

namespace {

const std::string Separador(55, '-');

bool FaltaCilindro(const TAerComponente& C) {
    if (!C.EsValvula())
        return false;
    const auto* v = dynamic_cast<const TAerValvula*>(&C);
    if (!v)
        return false;
    const TActuador a = v->GetActuador();
    return (a == TActuador::Rodillo || a == TActuador::Escamoteable) && !v->GetCilindro();
}

} // namespace

int TAerPaintBox::Verificar() {
    // Marks left by a previous check or selection would hide which
    // components are faulty now.
    Deseleccionar();
    Errores = {
        "Esta ventana se regenerará cuando se vuelva a verificar",
        "el circuito haciendo click en el botón apropiado.",
        "Se puede tener abierta durante la edición para",
        "poder ser consultada en cualquier momento.",
        "Los componentes con errores se marcan en verde sólo",
        "en el modo verificación.",
        Separador,
        "",
    };

    int total = 0;
    int conErrores = 0;
    // A component, its list of points and its points are objects of their
    // own: each is asked for a few components before it is read.
    constexpr int Adelanto = 4;
    const int n = Componentes.Count();
    for (int i = 0; i < n; ++i) {
        if (i + 3 * Adelanto < n)
            Componentes.ItemComo<TAerComponente>(i + 3 * Adelanto)->AnticiparCabecera();
        if (i + 2 * Adelanto < n)
            Componentes.ItemComo<TAerComponente>(i + 2 * Adelanto)->Elementos.AnticiparLista();
        if (i + Adelanto < n)
            Componentes.ItemComo<TAerComponente>(i + Adelanto)->AnticiparPuntos();
        auto* c = Componentes.ItemComo<TAerComponente>(i);
        const int sueltas = c->NumSueltas();
        if (sueltas > 0) {
            c->Marcado = true;
            total += sueltas;
        }
        const bool sinCilindro = FaltaCilindro(*c);
        if (sinCilindro) {
            c->Marcado = true;
            ++total;
        }
        const int errores = sueltas + (sinCilindro ? 1 : 0);
        if (errores == 0)
            continue;
        ++conErrores;
        const std::string tipo(NombreTipo(c->GetTipo()));
        std::string cabecera = c->GetNombre().empty()
                                   ? "El Componente del tipo \"" + tipo + "\" tiene " +
                                         std::to_string(errores) + " error"
                                   : "El Componente \"" + c->GetNombre() + "\" del tipo \"" + tipo +
                                         "\" tiene " + std::to_string(errores) + " error";
        if (errores > 1)
            cabecera += "es";
        Errores.push_back(cabecera + ":");
        if (sueltas >= 2)
            Errores.push_back("    " + std::to_string(sueltas) + " conexiones sin conectar.");
        else if (sueltas == 1)
            Errores.push_back("    " + std::to_string(sueltas) + " conexión sin conectar.");
        if (sinCilindro)
            Errores.push_back("    La válvula no está conectada a ningún cilindro.");
        Errores.push_back("");
    }

    if (conErrores > 0) {
        Errores.push_back(Separador);
        Errores.push_back(
            "Hay un total de " + std::to_string(conErrores) +
            (conErrores >= 2 ? " componentes con errores." : " componente con errores."));
        Errores.push_back("Hay un total de " + std::to_string(total) + " error" +
                          (total > 1 ? "es" : "") + ".");
        Errores.push_back(Separador);
    }
    if (total == 0)
        Errores.push_back("No se han encontrado errores.");
    return total;
}

} // namespace ventix
