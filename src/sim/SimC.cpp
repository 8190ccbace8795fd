#include "sim/SimC.h"

#include "sim/SimRed.h"

#include "circuit/AerConexion.h"
#include "circuit/AerValvula.h"

#include <algorithm>
#include <cmath>

namespace ventix {

namespace {

// Settings read from a file may lie outside 0..1 or be no number at all.
double Acotar01(double V) {
    if (std::isnan(V))
        return 0.0;
    return std::clamp(V, 0.0, 1.0);
}

} // namespace

std::uint8_t ClaseDeTipo(TTipoComponente Tipo) {
    if (EsPresion(Tipo))
        return clPresion;
    if (EsEscape(Tipo))
        return clEscape;
    if (EsConectorT(Tipo))
        return clConectorT;
    if (EsValvula(Tipo))
        return clValvula;
    if (EsCilindro(Tipo))
        return clCilindro;
    if (EsLogica(Tipo))
        return clLogica;
    if (EsRegulador(Tipo))
        return clRegulador;
    if (EsTemporizador(Tipo))
        return clTemporizador;
    return clInerte;
}

// ---------------------------------------------------------------- port

void TSimCon::SetPresion(double V) {
    if (Red)
        Red->SetPresion(Indice, V);
}

double TSimCon::GetPresion() const {
    return Red ? Red->Puertos[static_cast<std::size_t>(Indice)].Presion : 0.0;
}

bool TSimCon::GetFijada() const {
    return Red && Red->Fijadas[static_cast<std::size_t>(Indice)];
}

// ---------------------------------------------------------------- node

TSimC::TSimC() : Entradas(TSimCon::Clase()), Salidas(TSimCon::Clase()), Pilotos(TSimCon::Clase()) {}

TSimC::TSimC(TAerComponente& C) : TSimC() {
    Componente = &C;
    Tipo = C.GetTipo();
    ClaseSim = ClaseDeTipo(Tipo);
    Valvula = ClaseSim == clValvula ? dynamic_cast<TAerValvula*>(&C) : nullptr;
    Valor = C.Valor;
    if (ClaseSim == clRegulador || ClaseSim == clTemporizador)
        Valor = Acotar01(Valor);
    SetNombre(C.GetNombre());

    for (int i = 0; i < C.Elementos.Count(); ++i) {
        auto* con = dynamic_cast<TAerConexion*>(C.Elemento(i));
        if (!con || !con->EsConexion())
            continue;
        if (con->Salida)
            NuevoPuerto(con, lsSalidas);
        else if (con->EsPilotada())
            NuevoPuerto(con, lsPilotos);
        else
            NuevoPuerto(con, lsEntradas);
    }
    if (Valvula) {
        switch (Valvula->GetActuador()) {
        case TActuador::Seta:
        case TActuador::Rodillo:
        case TActuador::Escamoteable:
            NuevoPuerto(nullptr, lsPilotos);
            break;
        case TActuador::Rele:
            NuevoPuerto(nullptr, lsPilotos);
            if (!Valvula->GetMonoestable())
                NuevoPuerto(nullptr, lsPilotos);
            break;
        case TActuador::Pilotado:
            break;
        }
    }
    if (ClaseSim == clRegulador && !VEntradas.empty())
        EntraPorPrimera = C.Elementos.Count() > 0 && C.Elemento(0) == VEntradas.front()->Conexion;

    NumEntradas = Entradas.Count();
    NumSalidas = Salidas.Count();
    NumPilotos = Pilotos.Count();
}

TSimCon* TSimC::NuevoPuerto(TAerConexion* Con, std::uint8_t Lista) {
    auto p = std::make_unique<TSimCon>();
    p->Nodo = this;
    p->Conexion = Con;
    p->Tubo = Con ? Con->Tubo : nullptr;
    p->Lista = Lista;
    TColeccion& lista = Lista == lsSalidas ? Salidas : Lista == lsPilotos ? Pilotos : Entradas;
    auto* puerto = lista.Agregar(std::move(p));
    (Lista == lsSalidas ? VSalidas : Lista == lsPilotos ? VPilotos : VEntradas).push_back(puerto);
    return puerto;
}

bool TSimC::EsRodillo() const {
    return Valvula && (Valvula->GetActuador() == TActuador::Rodillo ||
                       Valvula->GetActuador() == TActuador::Escamoteable);
}

bool TSimC::EsManual() const {
    return Valvula &&
           (Valvula->GetActuador() == TActuador::Rele || Valvula->GetActuador() == TActuador::Seta);
}

bool TSimC::EsMonoestable() const {
    return !Valvula || Valvula->GetMonoestable();
}

void TSimC::SetEstado(double V) {
    if (Red) {
        Red->SetEstado(Indice, V);
        Red->Escribir();
    }
}

double TSimC::GetEstado() const {
    return Red ? Red->Nodos[static_cast<std::size_t>(Indice)].Estado : 0.0;
}

double TSimC::GetEstadoAnterior() const {
    return Red ? Red->Avances[static_cast<std::size_t>(Indice)].EstadoAnterior : 0.0;
}

std::uint8_t TSimC::GetMovimiento() const {
    return Red ? Red->Nodos[static_cast<std::size_t>(Indice)].Movimiento : std::uint8_t{mvParado};
}

void TSimC::ReglaPropagacion() {
    if (Red)
        Red->ReglaPropagacion(Indice);
}

void TSimC::ReglaAvance() {
    if (Red) {
        Red->ReglaAvance(Indice);
        Red->Escribir();
    }
}

void TSimC::ReglaRestablecer() {
    if (Red)
        Red->ReglaRestablecer(Indice);
}

void TSimC::ProcesarPilotos() {
    if (Red) {
        Red->ProcesarPilotos(Indice);
        Red->Escribir();
    }
}

void TSimC::ProcesarRodillo() {
    if (Red) {
        Red->ProcesarRodillo(Indice);
        Red->Escribir();
    }
}

} // namespace ventix
