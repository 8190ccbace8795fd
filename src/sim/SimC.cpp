#include "sim/SimC.h"

#include "circuit/AerConexion.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include <algorithm>
#include <cmath>

namespace ventix {

namespace {

using T = TTipoComponente;

// How close to its lock point a cylinder's rod works a roller.
constexpr double Holgura = 0.05;
// A cylinder's travel per step at full flow. Held in extended precision: the
// positions then come out a hair below 0.8 and 1.0, and a full stroke takes
// six steps.
constexpr long double Recorrido = 0.2L;

bool Fija(const TSimCon* P) {
    return P && P->Fijada;
}
double Nivel(const TSimCon* P) {
    return P ? P->Presion : 0.0;
}
void Poner(TSimCon* P, double V) {
    if (P)
        P->SetPresion(V);
}
// Passes a source port's level on, when the source has one.
void Copiar(TSimCon* A, const TSimCon* De) {
    if (Fija(De))
        Poner(A, De->Presion);
}
// Blocks the output while the source has a level.
void Cerrar(TSimCon* A, const TSimCon* De) {
    if (Fija(De))
        Poner(A, 0.0);
}

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
    if (V < -1.0)
        Presion = -1.0;
    else if (V > 1.0)
        Presion = 1.0;
    else
        Presion = V;
    if (Tubo) {
        const std::uint8_t e = Presion > 0 ? 1 : Presion < 0 ? 2 : 3;
        // The network's copy; the tube shows it when the propagation ends.
        if (Espejo)
            *Espejo = e;
        else
            Tubo->EstadoPresion = e;
    }
    Fijada = true;
    // A destination is always an input or a pilot, which has none itself.
    if (Destino)
        Destino->SetPresion(V);
}

// ---------------------------------------------------------------- node

TSimC::TSimC() : Entradas(TSimCon::Clase()), Salidas(TSimCon::Clase()), Pilotos(TSimCon::Clase()) {}

TSimC::TSimC(TAerComponente& C) : TSimC() {
    Componente = &C;
    Tipo = C.GetTipo();
    ClaseSim = ClaseDeTipo(Tipo);
    Valvula = ClaseSim == clValvula ? dynamic_cast<TAerValvula*>(&C) : nullptr;
    // A state from a file outside 0..1 is brought into it; the component
    // gets it with the first change.
    Estado = EstadoAnterior =
        std::isnan(C.GetParametro()) ? 0.0 : std::clamp(C.GetParametro(), 0.0, 1.0);
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
    EstadoAnterior = Estado;
    if (V < 0.0)
        Estado = 0.0;
    else if (V > 1.0)
        Estado = 1.0;
    else
        Estado = V;
    Componente->SetParametro(Estado);
}

// ---------------------------------------------------------------- propagation

void TSimC::ReglaPropagacion() {
    switch (ClaseSim) {
    case clPresion:
        Poner(Salida(0), 1.0);
        break;
    case clEscape:
        Poner(Salida(0), -1.0);
        break;
    case clConectorT:
        if (Fija(Entrada(0))) {
            Poner(Salida(0), Entrada(0)->Presion);
            Poner(Salida(1), Entrada(0)->Presion);
        }
        break;
    case clValvula:
        PropagarValvula();
        break;
    case clCilindro:
        PropagarCilindro();
        break;
    case clLogica:
        PropagarLogica();
        break;
    case clRegulador:
        PropagarRegulador();
        break;
    case clTemporizador:
        PropagarTemporizador();
        break;
    default:
        break;
    }
}

void TSimC::PropagarValvula() {
    const bool reposo = Estado == 0.0;
    TSimCon* e1 = Entrada(0);
    TSimCon* e2 = Entrada(1);
    TSimCon* s1 = Salida(0);
    switch (Tipo) {
    case T::Valvula22NA:
        reposo ? Copiar(s1, e1) : Cerrar(s1, e1);
        break;
    case T::Valvula22NC:
        reposo ? Cerrar(s1, e1) : Copiar(s1, e1);
        break;
    case T::Valvula32NA:
        Copiar(s1, reposo ? e1 : e2);
        break;
    case T::Valvula32NC:
        Copiar(s1, reposo ? e2 : e1);
        break;
    case T::Valvula52:
        if (reposo) {
            Copiar(s1, e1);
            Copiar(Salida(1), e2);
        } else {
            Copiar(s1, e2);
            Copiar(Salida(1), Entrada(2));
        }
        break;
    default:
        break;
    }
}

void TSimC::PropagarCilindro() {
    TSimCon* e1 = Entrada(0);
    TSimCon* e2 = Entrada(1);
    const bool listo = (NumEntradas == 1 && Fija(e1)) || (NumEntradas == 2 && Fija(e1) && Fija(e2));
    if (!listo)
        return;
    const double a = Nivel(e1);
    if (Tipo == T::CilindroSimple) {
        Movimiento = a > 0 ? mvAvance : a < 0 ? mvRetroceso : mvParado;
    } else {
        const double b = Nivel(e2);
        if (a > 0 && b < 0)
            Movimiento = mvAvance;
        else if (a < 0 && b > 0)
            Movimiento = mvRetroceso;
        else
            Movimiento = mvParado;
    }
    if ((Movimiento == mvAvance && Estado >= 1.0) || (Movimiento == mvRetroceso && Estado <= 0.0))
        Movimiento = mvParado;
}

void TSimC::PropagarLogica() {
    TSimCon* e1 = Entrada(0);
    TSimCon* e2 = Entrada(1);
    if (!Fija(e1) || !Fija(e2))
        return;
    const double a = e1->Presion;
    const double b = e2->Presion;
    if (Tipo == T::ValvulaAnd) {
        // Off centre, the shuttle closes the way of the input that pushed it.
        if (Estado != 0.5)
            Poner(Salida(0), -1.0);
        else
            Poner(Salida(0), a > 0 && b > 0 ? 1.0 : -1.0);
    } else {
        // An OR valve passes whichever input is pressurised, wherever its
        // shuttle stands.
        Poner(Salida(0), a > 0 || b > 0 ? 1.0 : -1.0);
    }
}

void TSimC::PropagarRegulador() {
    TSimCon* e1 = Entrada(0);
    if (!Fija(e1))
        return;
    const double p = e1->Presion;
    const double k = Valor;
    if (Tipo == T::Regulador2)
        Poner(Salida(0), p * k);
    else if (EntraPorPrimera)
        Poner(Salida(0), p > 0 ? p * k : p);
    else
        Poner(Salida(0), p < 0 ? p * k : p);
}

void TSimC::PropagarTemporizador() {
    TSimCon* suministro = Entrada(1);
    TSimCon* s1 = Salida(0);
    if (!Fija(suministro))
        return;
    const bool na = Tipo == T::TemporizadorNA;
    if (Estado <= 0.0)
        Poner(s1, na ? suministro->Presion : -1.0);
    else if (Estado < 1.0)
        Poner(s1, Nivel(s1)); // holds what it gave while counting
    else
        Poner(s1, na ? -1.0 : suministro->Presion);
}

// ---------------------------------------------------------------- advance

void TSimC::ProcesarPilotos() {
    Componente->Marcado = false;
    if (NumPilotos == 1) {
        TSimCon* p = Piloto(0);
        SetEstado(p->Fijada && p->Presion > 0 ? 1.0 : 0.0);
    } else if (NumPilotos == 2) {
        TSimCon* izquierdo = Piloto(0);
        TSimCon* derecho = Piloto(1);
        if (!izquierdo->Fijada || !derecho->Fijada)
            return;
        const bool a = izquierdo->Presion > 0;
        const bool b = derecho->Presion > 0;
        if (a && b)
            Componente->Marcado = true; // conflict: the valve keeps its position
        else if (a)
            SetEstado(1.0);
        else if (b)
            SetEstado(0.0);
    }
}

void TSimC::ProcesarRodillo() {
    bool actuado = false;
    bool tocar = true;
    if (CilindroSim) {
        const double x = CilindroSim->Estado;
        const double xp = CilindroSim->EstadoAnterior;
        const double p = Valor;
        const bool escamoteable = Valvula && Valvula->GetActuador() == TActuador::Escamoteable;
        const TSentido sentido = Valvula ? Valvula->Sentido : TSentido::Retroceso;
        const bool alli = x - Holgura <= p && x + Holgura >= p;
        switch (CilindroSim->Movimiento) {
        case mvParado:
            actuado = alli && !escamoteable;
            break;
        case mvAvance:
            // A fast rod that jumps over the roller within one step still works it.
            actuado = (alli || (x - Holgura > p && xp + Holgura < p)) &&
                      (!escamoteable || sentido == TSentido::Avance);
            break;
        case mvRetroceso:
            actuado = (alli || (x + Holgura < p && xp - Holgura > p)) &&
                      (!escamoteable || sentido == TSentido::Retroceso);
            break;
        default:
            tocar = false;
            break;
        }
    }
    if (tocar)
        Poner(Piloto(0), actuado ? 1.0 : -1.0);
    ProcesarPilotos();
}

void TSimC::ReglaAvance() {
    switch (ClaseSim) {
    case clValvula:
        ProcesarPilotos();
        break;
    case clCilindro:
        AvanzarCilindro();
        break;
    case clLogica: {
        TSimCon* e1 = Entrada(0);
        TSimCon* e2 = Entrada(1);
        if (Fija(e1) && Fija(e2)) {
            if (e1->Presion > 0 && e2->Presion < 0)
                SetEstado(1.0);
            else if (e1->Presion < 0 && e2->Presion > 0)
                SetEstado(0.0);
            else
                SetEstado(0.5);
        } else {
            SetEstado(0.5);
        }
        break;
    }
    case clTemporizador: {
        const double q = Nivel(Entrada(0));
        if (q >= 0)
            SetEstado(Estado + (1.0 / 3.0) * q * (1.0 - Valor));
        else
            SetEstado(0.0);
        break;
    }
    default:
        break;
    }
}

void TSimC::AvanzarCilindro() {
    // The slower of the supply and the exhaust side governs: a regulator on
    // either side slows the rod.
    long double s = std::fabs(Nivel(Entrada(0)));
    if (Tipo == T::CilindroDoble)
        s = std::min(s, static_cast<long double>(std::fabs(Nivel(Entrada(1)))));
    const long double x = Estado;
    if (Movimiento == mvAvance)
        SetEstado(static_cast<double>(x + Recorrido * s));
    else if (Movimiento == mvRetroceso)
        SetEstado(static_cast<double>(x - Recorrido * s));
}

// ---------------------------------------------------------------- reset

void TSimC::ReglaRestablecer() {
    switch (ClaseSim) {
    case clPresion:
        Poner(Salida(0), 1.0);
        return;
    case clEscape:
        Poner(Salida(0), -1.0);
        return;
    case clValvula:
    case clCilindro:
        // An input left without a tube is open to the atmosphere.
        for (TSimCon* e : VEntradas)
            if (e->Conexion && e->Conexion->MostrarEscape())
                e->SetPresion(-1.0);
        break;
    default:
        return;
    }
    if (ClaseSim != clValvula || !Valvula)
        return;
    if (Valvula->GetActuador() == TActuador::Rodillo) {
        bool alli = false;
        if (CilindroSim) {
            const double x = CilindroSim->Estado;
            alli = Valor - Holgura < x && x < Valor + Holgura;
        }
        Poner(Piloto(0), alli ? 1.0 : -1.0);
    } else if (Valvula->GetActuador() == TActuador::Escamoteable) {
        Poner(Piloto(0), -1.0);
    }
}

} // namespace ventix
