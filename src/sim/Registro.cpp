#include "sim/Registro.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "sim/SimCircuito.h"

namespace ventix {

namespace {

std::string NombreDe(const TSimC& Nodo) {
    const std::string& n = Nodo.Componente->GetNombre();
    return n.empty() ? "#" + std::to_string(Nodo.Componente->GetIndice()) : n;
}

} // namespace

TRegistro::TRegistro(TSimCircuito& R) : Red(R), Documento(R.GetCanvas()) {
    auto agregar = [this](std::uint8_t Clase, TTipoFila Tipo) {
        for (int i = 0; i < Red.NumNodos; ++i) {
            TSimC* n = Red.Nodo(i);
            if (n->ClaseSim == Clase)
                VFilas.push_back({Tipo, NombreDe(*n), n, -1});
        }
    };
    agregar(clCilindro, TTipoFila::Cilindro);
    Cilindros = static_cast<int>(VFilas.size());
    agregar(clValvula, TTipoFila::Valvula);
    agregar(clLogica, TTipoFila::Logica);
    for (const auto& b : Red.BotonesPanel()) {
        std::string nombre = NombreDe(*b.Nodo);
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
