#include "sim/SimRed.h"

#include "circuit/AerConexion.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "sim/SimC.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace ventix {

namespace {

using T = TTipoComponente;

// How close to its lock point a cylinder's rod works a roller.
constexpr double Holgura = 0.05;
// A cylinder's travel per step at full flow. Held in extended precision: the
// positions then come out a hair below 0.8 and 1.0, and a full stroke takes
// six steps.
constexpr long double Recorrido = 0.2L;

static_assert(sizeof(TSimRed::TNodo) <= 32 && sizeof(TSimRed::TPuerto) <= 16);

constexpr double Desconocido = std::numeric_limits<double>::quiet_NaN();

std::uint8_t EstadoDeNivel(double V) {
    return V > 0 ? 1 : V < 0 ? 2 : 3;
}

} // namespace

// ---------------------------------------------------------------- building

void TSimRed::Agregar(TSimC& Nodo) {
    TNodo n;
    TNodoAvance a;
    TAerComponente& c = *Nodo.Componente;
    a.Componente = &c;
    // A state from a file outside 0..1 is brought into it; the component
    // gets it with the first change.
    n.Estado = a.EstadoAnterior =
        std::isnan(c.GetParametro()) ? 0.0 : std::clamp(c.GetParametro(), 0.0, 1.0);
    a.Escrito = c.GetParametro();
    n.Valor = Nodo.Valor;
    n.Clase = Nodo.ClaseSim;
    n.Tipo = Nodo.Tipo;
    n.Puertos = NumPuertos();
    n.NumEntradas = static_cast<std::uint16_t>(Nodo.NumEntradas);
    n.NumSalidas = static_cast<std::uint16_t>(Nodo.NumSalidas);
    n.NumPilotos = static_cast<std::uint16_t>(Nodo.NumPilotos);
    n.EntraPorPrimera = Nodo.EntraPorPrimera;
    if (const TAerValvula* v = Nodo.GetValvula()) {
        a.Escamoteable = v->GetActuador() == TActuador::Escamoteable;
        a.Rodillo = a.Escamoteable || v->GetActuador() == TActuador::Rodillo;
        a.Sentido = v->Sentido;
    }
    Nodo.Red = this;
    Nodo.Indice = NumNodos();
    if (a.Rodillo)
        VRodillos.push_back(Nodo.Indice);
    Nodos.push_back(n);
    Avances.push_back(a);
    VNodos.push_back(&Nodo);
    for (const auto* lista : {&Nodo.VEntradas, &Nodo.VSalidas, &Nodo.VPilotos})
        for (TSimCon* p : *lista) {
            p->Red = this;
            p->Indice = NumPuertos();
            Puertos.emplace_back();
            Fijadas.push_back(0);
            VPuertos.push_back(p);
        }
}

void TSimRed::Enlazar(const std::vector<TAerTubo*>& Tubos) {
    for (std::size_t i = 0; i < VNodos.size(); ++i)
        if (const TSimC* c = VNodos[i]->CilindroSim)
            Avances[i].Cilindro = c->Indice;
    for (std::size_t i = 0; i < VPuertos.size(); ++i)
        if (const TSimCon* d = VPuertos[i]->Destino)
            Puertos[i].Destino = d->Indice;

    VTubos = Tubos;
    NumTubosDocumento = VTubos.size();
    std::unordered_map<const TAerTubo*, std::int32_t> indices;
    for (std::size_t i = 0; i < VTubos.size(); ++i)
        indices.emplace(VTubos[i], static_cast<std::int32_t>(i));
    for (std::size_t i = 0; i < VPuertos.size(); ++i) {
        TAerTubo* t = VPuertos[i]->Tubo;
        if (!t)
            continue;
        auto [e, nuevo] = indices.emplace(t, static_cast<std::int32_t>(VTubos.size()));
        if (nuevo)
            VTubos.push_back(t);
        Puertos[i].Tubo = e->second;
    }
    EstadosTubos.resize(VTubos.size());
    for (std::size_t i = 0; i < VTubos.size(); ++i)
        EstadosTubos[i] = VTubos[i]->EstadoPresion;
    Antes.resize(NumTubosDocumento);
    Mostrados = EstadosTubos;
    TubosAlDia = true;
}

void TSimRed::Olvidar() {
    for (TNodoAvance& a : Avances)
        a.Escrito = Desconocido;
    TubosAlDia = false;
}

// ---------------------------------------------------------------- ports and states

void TSimRed::SetPresion(std::int32_t P, double V) {
    const double v = V < -1.0 ? -1.0 : V > 1.0 ? 1.0 : V;
    const std::uint8_t e = EstadoDeNivel(v);
    // A destination is always an input or a pilot, which has none itself;
    // the loop carries the same value along the tube.
    for (bool destino = false;; destino = true) {
        TPuerto& p = Puertos[static_cast<std::size_t>(P)];
        // An input or pilot a rule has already read this pass, given
        // something else: the pass must be run again. Compared bit for bit,
        // so that running it again could not give anything different
        // either. (A rule writes only its own node's outputs, which only a
        // timer reads, and it reads the level it writes back.)
        if (destino && P < Alcanzados &&
            (std::bit_cast<std::uint64_t>(p.Presion) != std::bit_cast<std::uint64_t>(v) ||
             !Fijadas[static_cast<std::size_t>(P)]))
            Tarde = true;
        p.Presion = v;
        if (p.Tubo != Ninguno)
            EstadosTubos[static_cast<std::size_t>(p.Tubo)] = e;
        Fijadas[static_cast<std::size_t>(P)] = 1;
        if (p.Destino == Ninguno)
            return;
        P = p.Destino;
    }
}

void TSimRed::SetEstado(std::int32_t Nodo, double V) {
    TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    TNodoAvance& a = Avances[static_cast<std::size_t>(Nodo)];
    const double v = V < 0.0 ? 0.0 : V > 1.0 ? 1.0 : V;
    // A second change within one phase: the component takes the first one
    // first, as it came.
    if (a.Pendiente && v != n.Estado)
        EscribirNodo(Nodo);
    a.EstadoAnterior = n.Estado;
    n.Estado = v;
    if (!a.Pendiente && n.Estado != a.Escrito) {
        a.Pendiente = true;
        Pendientes.push_back(Nodo);
    }
}

void TSimRed::EscribirNodo(std::int32_t Nodo) {
    const double estado = Nodos[static_cast<std::size_t>(Nodo)].Estado;
    TNodoAvance& a = Avances[static_cast<std::size_t>(Nodo)];
    a.Componente->SetParametro(estado);
    a.Escrito = estado;
    a.Pendiente = false;
}

// Asks the memory for what the component of a node reads and writes when it
// takes a new state: each component is a large object of its own, and on a
// large circuit one after another would wait for each of them.
void TSimRed::Anticipar(std::int32_t Nodo) const {
    Avances[static_cast<std::size_t>(Nodo)].Componente->AnticiparEstado();
}

void TSimRed::Escribir() {
    // Two steps ahead: a node's entry, then, once it is near, its component.
    constexpr std::size_t Adelanto = 4;
    const std::size_t n = Pendientes.size();
    for (std::size_t i = 0; i < n && i < 2 * Adelanto; ++i)
        __builtin_prefetch(&Avances[static_cast<std::size_t>(Pendientes[i])]);
    for (std::size_t i = 0; i < n && i < Adelanto; ++i)
        Anticipar(Pendientes[i]);
    for (std::size_t i = 0; i < n; ++i) {
        if (i + 2 * Adelanto < n)
            __builtin_prefetch(&Avances[static_cast<std::size_t>(Pendientes[i + 2 * Adelanto])]);
        if (i + Adelanto < n)
            Anticipar(Pendientes[i + Adelanto]);
        if (Avances[static_cast<std::size_t>(Pendientes[i])].Pendiente)
            EscribirNodo(Pendientes[i]);
    }
    Pendientes.clear();
}

void TSimRed::MarcarComponente(TNodoAvance& N, bool Marcado) {
    if (N.Marcado != static_cast<std::int8_t>(Marcado)) {
        N.Componente->Marcado = Marcado;
        N.Marcado = static_cast<std::int8_t>(Marcado);
    }
}

// ---------------------------------------------------------------- propagation

void TSimRed::Propagar() {
    std::fill(EstadosTubos.begin(),
              EstadosTubos.begin() + static_cast<std::ptrdiff_t>(NumTubosDocumento), 0);
    Pasadas = 0;
    const std::int32_t nodos = NumNodos();
    for (;;) {
        if (NumTubosDocumento > 0)
            std::memcpy(Antes.data(), EstadosTubos.data(), NumTubosDocumento);
        Tarde = false;
        for (std::int32_t i = 0; i < nodos; ++i) {
            const TNodo& n = Nodos[static_cast<std::size_t>(i)];
            Alcanzados = n.Puertos + n.NumEntradas + n.NumSalidas + n.NumPilotos;
            ReglaPropagacion(i);
        }
        Alcanzados = 0;
        ++Pasadas;
        if (NumTubosDocumento == 0 ||
            std::memcmp(Antes.data(), EstadosTubos.data(), NumTubosDocumento) == 0 ||
            Pasadas >= MaxPasadas)
            break;
        // Every rule read its ports as the pass left them: another pass
        // would write the same levels in the same order, leave every tube as
        // it is, and end the propagation. It is counted, not run.
        if (!Tarde) {
            ++Pasadas;
            break;
        }
    }
    // The tubes take their states; most are as they were.
    if (TubosAlDia) {
        for (std::size_t i = 0; i < VTubos.size(); ++i)
            if (Mostrados[i] != EstadosTubos[i]) {
                TubosCambiados.push_back(static_cast<std::int32_t>(i));
                Mostrados[i] = EstadosTubos[i];
            }
    } else {
        for (std::size_t i = 0; i < VTubos.size(); ++i)
            if (VTubos[i]->EstadoPresion != EstadosTubos[i])
                TubosCambiados.push_back(static_cast<std::int32_t>(i));
        Mostrados = EstadosTubos;
        TubosAlDia = true;
    }
    // Each tube is an object of its own: ask for a few ahead of the writes.
    constexpr std::size_t Adelanto = 8;
    const std::size_t n = TubosCambiados.size();
    for (std::size_t k = 0; k < n && k < Adelanto; ++k)
        __builtin_prefetch(&VTubos[static_cast<std::size_t>(TubosCambiados[k])]->EstadoPresion, 1);
    for (std::size_t k = 0; k < n; ++k) {
        if (k + Adelanto < n)
            __builtin_prefetch(
                &VTubos[static_cast<std::size_t>(TubosCambiados[k + Adelanto])]->EstadoPresion, 1);
        const auto i = static_cast<std::size_t>(TubosCambiados[k]);
        VTubos[i]->EstadoPresion = EstadosTubos[i];
    }
    TubosCambiados.clear();
}

void TSimRed::ReglaPropagacion(std::int32_t Nodo) {
    TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    switch (n.Clase) {
    case clPresion:
        Poner(Salida(n, 0), 1.0);
        break;
    case clEscape:
        Poner(Salida(n, 0), -1.0);
        break;
    case clConectorT:
        if (const std::int32_t e1 = Entrada(n, 0); Fija(e1)) {
            Poner(Salida(n, 0), Nivel(e1));
            Poner(Salida(n, 1), Nivel(e1));
        }
        break;
    case clValvula:
        PropagarValvula(n);
        break;
    case clCilindro:
        PropagarCilindro(n);
        break;
    case clLogica:
        PropagarLogica(n);
        break;
    case clRegulador:
        PropagarRegulador(n);
        break;
    case clTemporizador:
        PropagarTemporizador(n);
        break;
    default:
        break;
    }
}

void TSimRed::PropagarValvula(const TNodo& N) {
    const bool reposo = N.Estado == 0.0;
    const std::int32_t e1 = Entrada(N, 0);
    const std::int32_t e2 = Entrada(N, 1);
    const std::int32_t s1 = Salida(N, 0);
    switch (N.Tipo) {
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
            Copiar(Salida(N, 1), e2);
        } else {
            Copiar(s1, e2);
            Copiar(Salida(N, 1), Entrada(N, 2));
        }
        break;
    default:
        break;
    }
}

void TSimRed::PropagarCilindro(TNodo& N) {
    const std::int32_t e1 = Entrada(N, 0);
    const std::int32_t e2 = Entrada(N, 1);
    const bool listo =
        (N.NumEntradas == 1 && Fija(e1)) || (N.NumEntradas == 2 && Fija(e1) && Fija(e2));
    if (!listo)
        return;
    const double a = Nivel(e1);
    if (N.Tipo == T::CilindroSimple) {
        N.Movimiento = a > 0 ? mvAvance : a < 0 ? mvRetroceso : mvParado;
    } else {
        const double b = Nivel(e2);
        if (a > 0 && b < 0)
            N.Movimiento = mvAvance;
        else if (a < 0 && b > 0)
            N.Movimiento = mvRetroceso;
        else
            N.Movimiento = mvParado;
    }
    if ((N.Movimiento == mvAvance && N.Estado >= 1.0) ||
        (N.Movimiento == mvRetroceso && N.Estado <= 0.0))
        N.Movimiento = mvParado;
}

void TSimRed::PropagarLogica(const TNodo& N) {
    const std::int32_t e1 = Entrada(N, 0);
    const std::int32_t e2 = Entrada(N, 1);
    if (!Fija(e1) || !Fija(e2))
        return;
    const double a = Nivel(e1);
    const double b = Nivel(e2);
    if (N.Tipo == T::ValvulaAnd) {
        // Off centre, the shuttle closes the way of the input that pushed it.
        if (N.Estado != 0.5)
            Poner(Salida(N, 0), -1.0);
        else
            Poner(Salida(N, 0), a > 0 && b > 0 ? 1.0 : -1.0);
    } else {
        // An OR valve passes whichever input is pressurised, wherever its
        // shuttle stands.
        Poner(Salida(N, 0), a > 0 || b > 0 ? 1.0 : -1.0);
    }
}

void TSimRed::PropagarRegulador(const TNodo& N) {
    const std::int32_t e1 = Entrada(N, 0);
    if (!Fija(e1))
        return;
    const double p = Nivel(e1);
    const double k = N.Valor;
    if (N.Tipo == T::Regulador2)
        Poner(Salida(N, 0), p * k);
    else if (N.EntraPorPrimera)
        Poner(Salida(N, 0), p > 0 ? p * k : p);
    else
        Poner(Salida(N, 0), p < 0 ? p * k : p);
}

void TSimRed::PropagarTemporizador(const TNodo& N) {
    const std::int32_t suministro = Entrada(N, 1);
    const std::int32_t s1 = Salida(N, 0);
    if (!Fija(suministro))
        return;
    const bool na = N.Tipo == T::TemporizadorNA;
    if (N.Estado <= 0.0)
        Poner(s1, na ? Nivel(suministro) : -1.0);
    else if (N.Estado < 1.0)
        Poner(s1, Nivel(s1)); // holds what it gave while counting
    else
        Poner(s1, na ? -1.0 : Nivel(suministro));
}

// ---------------------------------------------------------------- advance

void TSimRed::Avanzar() {
    const std::int32_t nodos = NumNodos();
    for (std::int32_t i = 0; i < nodos; ++i)
        ReglaAvance(i);
    // Rollers see the rods where this same step left them.
    for (const std::int32_t i : VRodillos)
        ProcesarRodillo(i);
    Escribir();
}

void TSimRed::ProcesarPilotos(std::int32_t Nodo) {
    const TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    TNodoAvance& a = Avances[static_cast<std::size_t>(Nodo)];
    if (n.NumPilotos == 1) {
        const std::int32_t p = Piloto(n, 0);
        MarcarComponente(a, false);
        SetEstado(Nodo, Fija(p) && Nivel(p) > 0 ? 1.0 : 0.0);
    } else if (n.NumPilotos == 2) {
        const std::int32_t izquierdo = Piloto(n, 0);
        const std::int32_t derecho = Piloto(n, 1);
        if (!Fija(izquierdo) || !Fija(derecho)) {
            MarcarComponente(a, false);
            return;
        }
        const bool i = Nivel(izquierdo) > 0;
        const bool d = Nivel(derecho) > 0;
        // Both: a conflict, and the valve keeps its position.
        MarcarComponente(a, i && d);
        if (i && !d)
            SetEstado(Nodo, 1.0);
        else if (d && !i)
            SetEstado(Nodo, 0.0);
    } else {
        MarcarComponente(a, false);
    }
}

void TSimRed::ProcesarRodillo(std::int32_t Nodo) {
    const TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    const TNodoAvance& a = Avances[static_cast<std::size_t>(Nodo)];
    bool actuado = false;
    bool tocar = true;
    if (a.Cilindro != Ninguno) {
        const TNodo& cilindro = Nodos[static_cast<std::size_t>(a.Cilindro)];
        const double x = cilindro.Estado;
        const double xp = Avances[static_cast<std::size_t>(a.Cilindro)].EstadoAnterior;
        const double p = n.Valor;
        const bool alli = x - Holgura <= p && x + Holgura >= p;
        switch (cilindro.Movimiento) {
        case mvParado:
            actuado = alli && !a.Escamoteable;
            break;
        case mvAvance:
            // A fast rod that jumps over the roller within one step still works it.
            actuado = (alli || (x - Holgura > p && xp + Holgura < p)) &&
                      (!a.Escamoteable || a.Sentido == TSentido::Avance);
            break;
        case mvRetroceso:
            actuado = (alli || (x + Holgura < p && xp - Holgura > p)) &&
                      (!a.Escamoteable || a.Sentido == TSentido::Retroceso);
            break;
        default:
            tocar = false;
            break;
        }
    }
    if (tocar)
        Poner(Piloto(n, 0), actuado ? 1.0 : -1.0);
    ProcesarPilotos(Nodo);
}

void TSimRed::ReglaAvance(std::int32_t Nodo) {
    const TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    switch (n.Clase) {
    case clValvula:
        ProcesarPilotos(Nodo);
        break;
    case clCilindro:
        AvanzarCilindro(Nodo);
        break;
    case clLogica: {
        const std::int32_t e1 = Entrada(n, 0);
        const std::int32_t e2 = Entrada(n, 1);
        if (Fija(e1) && Fija(e2)) {
            if (Nivel(e1) > 0 && Nivel(e2) < 0)
                SetEstado(Nodo, 1.0);
            else if (Nivel(e1) < 0 && Nivel(e2) > 0)
                SetEstado(Nodo, 0.0);
            else
                SetEstado(Nodo, 0.5);
        } else {
            SetEstado(Nodo, 0.5);
        }
        break;
    }
    case clTemporizador: {
        const double q = Nivel(Entrada(n, 0));
        if (q >= 0)
            SetEstado(Nodo, n.Estado + (1.0 / 3.0) * q * (1.0 - n.Valor));
        else
            SetEstado(Nodo, 0.0);
        break;
    }
    default:
        break;
    }
}

void TSimRed::AvanzarCilindro(std::int32_t Nodo) {
    const TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    // The slower of the supply and the exhaust side governs: a regulator on
    // either side slows the rod.
    long double s = std::fabs(Nivel(Entrada(n, 0)));
    if (n.Tipo == T::CilindroDoble)
        s = std::min(s, static_cast<long double>(std::fabs(Nivel(Entrada(n, 1)))));
    const long double x = n.Estado;
    if (n.Movimiento == mvAvance)
        SetEstado(Nodo, static_cast<double>(x + Recorrido * s));
    else if (n.Movimiento == mvRetroceso)
        SetEstado(Nodo, static_cast<double>(x - Recorrido * s));
}

// ---------------------------------------------------------------- reset

void TSimRed::Soltar() {
    std::fill(Fijadas.begin(), Fijadas.end(), 0);
    for (std::size_t i = 0; i < Puertos.size(); ++i) {
        if (Puertos[i].Tubo != Ninguno) {
            VTubos[static_cast<std::size_t>(Puertos[i].Tubo)]->EstadoPresion = 0;
            EstadosTubos[static_cast<std::size_t>(Puertos[i].Tubo)] = 0;
        }
    }
    TubosAlDia = false;
}

void TSimRed::ReglaRestablecer(std::int32_t Nodo) {
    const TNodo& n = Nodos[static_cast<std::size_t>(Nodo)];
    switch (n.Clase) {
    case clPresion:
        Poner(Salida(n, 0), 1.0);
        return;
    case clEscape:
        Poner(Salida(n, 0), -1.0);
        return;
    case clValvula:
    case clCilindro:
        // An input left without a tube is open to the atmosphere.
        for (int i = 0; i < n.NumEntradas; ++i) {
            const TSimCon* e = VPuertos[static_cast<std::size_t>(n.Puertos + i)];
            if (e->Conexion && e->Conexion->MostrarEscape())
                SetPresion(n.Puertos + i, -1.0);
        }
        break;
    default:
        return;
    }
    const TNodoAvance& a = Avances[static_cast<std::size_t>(Nodo)];
    if (!a.Rodillo)
        return;
    if (!a.Escamoteable) {
        bool alli = false;
        if (a.Cilindro != Ninguno) {
            const double x = Nodos[static_cast<std::size_t>(a.Cilindro)].Estado;
            alli = n.Valor - Holgura < x && x < n.Valor + Holgura;
        }
        Poner(Piloto(n, 0), alli ? 1.0 : -1.0);
    } else {
        Poner(Piloto(n, 0), -1.0);
    }
}

} // namespace ventix
