#include "sim/Registro.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "sim/SimCircuito.h"

#include <unordered_map>

namespace ventix {

namespace {

// A row's name: its component's, or "#" and the component's place in its
// list. The places are found in one pass over the document's list, made the
// first time an unnamed component asks.
class TNombres {
public:
    explicit TNombres(const TAerPaintBox& Documento) : Documento(Documento) {}

    std::string De(const TSimC& Nodo) {
        const TAerComponente* c = Nodo.Componente;
        if (const std::string& n = c->GetNombre(); !n.empty())
            return n;
        if (Lugares.empty())
            for (int i = 0; i < Documento.Componentes.Count(); ++i)
                Lugares.emplace(Documento.Componentes.Item(i), i);
        const auto lugar = Lugares.find(c);
        return "#" + std::to_string(lugar != Lugares.end() ? lugar->second : c->GetIndice());
    }

private:
    const TAerPaintBox& Documento;
    std::unordered_map<const TColeccionItem*, int> Lugares;
};

} // namespace

TRegistro::TRegistro(TSimCircuito& R) : Red(R), Documento(R.GetCanvas()) {
    TNombres nombres(Documento);
    auto agregar = [this, &nombres](std::uint8_t Clase, TTipoFila Tipo) {
        for (int i = 0; i < Red.NumNodos; ++i) {
            TSimC* n = Red.Nodo(i);
            if (n->ClaseSim == Clase)
                VFilas.push_back({Tipo, nombres.De(*n), n, -1});
        }
    };
    agregar(clCilindro, TTipoFila::Cilindro);
    Cilindros = static_cast<int>(VFilas.size());
    agregar(clValvula, TTipoFila::Valvula);
    agregar(clLogica, TTipoFila::Logica);
    for (const auto& b : Red.BotonesPanel()) {
        std::string nombre = nombres.De(*b.Nodo);
        nombre += !b.Mitad ? " (botón)" : b.Columna == 0 ? " (botón izq.)" : " (botón der.)";
        VFilas.push_back({TTipoFila::Boton, nombre, b.Nodo, b.Numero});
    }
    agregar(clTemporizador, TTipoFila::Temporizador);
    NumTubos = static_cast<std::size_t>(Documento.Tubos.Count());
}

void TRegistro::Reiniciar() {
    Pasos.clear();
    Fases.clear();
    Valores.clear();
    EstadosTubos.clear();
    Pasos.shrink_to_fit();
    Fases.shrink_to_fit();
    Valores.shrink_to_fit();
    EstadosTubos.shrink_to_fit();
    Anotar(true);
    Pasos.back() = 0;
    Fases.back() = 0;
}

void TRegistro::Anotar(bool Fase) {
    Pasos.push_back(UltimoPaso() + (Fase ? 0 : 1));
    Fases.push_back(Fase ? 1 : 0);
    for (const auto& f : VFilas)
        Valores.push_back(f.Tipo == TTipoFila::Boton ? (Red.BotonAbajo(f.Boton) ? 1.0 : 0.0)
                                                     : f.Nodo->GetEstado());
    // The document's tube list is the network's: the document does not
    // change while the network lives.
    for (std::size_t i = 0; i < NumTubos; ++i)
        EstadosTubos.push_back(
            Documento.Tubos.ItemComo<TAerTubo>(static_cast<int>(i))->EstadoPresion);
}

std::vector<int> TRegistro::InstantesDePaso() const {
    std::vector<int> r;
    for (int i = 0; i < NumInstantes(); ++i)
        if (!EsFase(i))
            r.push_back(i);
    return r;
}

void TRegistro::Mostrar(int Instante) const {
    if (Instante < 0 || Instante >= NumInstantes())
        return;
    Red.DocumentoCambiado();
    for (std::size_t f = 0; f < VFilas.size(); ++f)
        if (VFilas[f].Tipo != TTipoFila::Boton)
            VFilas[f].Nodo->Componente->SetParametro(Valor(Instante, static_cast<int>(f)));
    for (std::size_t i = 0; i < NumTubos; ++i)
        Documento.Tubos.ItemComo<TAerTubo>(static_cast<int>(i))->EstadoPresion =
            EstadoTubo(Instante, static_cast<int>(i));
}

} // namespace ventix
