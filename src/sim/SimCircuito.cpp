#include "sim/SimCircuito.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include <QTimer>

#include <algorithm>
#include <unordered_map>

namespace ventix {

namespace {

// How many passes a propagation may take per port before it gives up: a real
// circuit settles in a few passes; this only keeps a pathological one from
// hanging the program.
constexpr int PasadasPorPuerto = 4;

} // namespace

TSimCircuito::TSimCircuito(TAerPaintBox& C)
    : Canvas(C), Nodos(TSimC::Clase()), PorClase{TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase()),
                                                 TColeccion(TSimCItem::Clase())},
      Manuales(TSimCItem::Clase()), PilotosManuales(TSimConItem::Clase()),
      Reloj(std::make_unique<QTimer>()) {
    Reloj->setInterval(500);
    QObject::connect(Reloj.get(), &QTimer::timeout, [this] { Tic(); });

    const int n = Canvas.Componentes.Count();
    VNodos.reserve(static_cast<std::size_t>(n));
    std::unordered_map<const TAerComponente*, TSimC*> porComponente;
    for (int i = 0; i < n; ++i) {
        auto* c = Canvas.Componentes.ItemComo<TAerComponente>(i);
        auto* nodo = Nodos.Agregar(std::make_unique<TSimC>(*c));
        VNodos.push_back(nodo);
        porComponente.emplace(c, nodo); // the first node of a component wins
        if (nodo->ClaseSim < 8)
            PorClase[nodo->ClaseSim].Agregar(std::make_unique<TSimCItem>(nodo));
    }
    NumNodos = Nodos.Count();

    // The port a tube ends at: the first in node order, inputs before pilots.
    std::unordered_map<const TAerConexion*, TSimCon*> destinos;
    int puertos = 0;
    for (TSimC* nodo : VNodos) {
        for (int i = 0; i < nodo->NumEntradas; ++i)
            destinos.emplace(nodo->Entrada(i)->Conexion, nodo->Entrada(i));
        for (int i = 0; i < nodo->NumPilotos; ++i)
            if (nodo->Piloto(i)->Conexion)
                destinos.emplace(nodo->Piloto(i)->Conexion, nodo->Piloto(i));
        puertos += nodo->NumEntradas + nodo->NumSalidas + nodo->NumPilotos;
    }
    MaxPasadas = PasadasPorPuerto * puertos + 16;
    for (TSimC* nodo : VNodos) {
        for (int i = 0; i < nodo->NumSalidas; ++i) {
            TSimCon* s = nodo->Salida(i);
            const TAerTubo* tubo = s->Conexion ? s->Conexion->Tubo : nullptr;
            if (!tubo || !tubo->Fin)
                continue;
            if (auto d = destinos.find(tubo->Fin); d != destinos.end())
                s->Destino = d->second;
        }
    }

    for (TSimC* nodo : VNodos) {
        if (nodo->ClaseSim != clValvula)
            continue;
        if (const TAerValvula* v = nodo->GetValvula(); v && v->GetCilindro()) {
            if (auto c = porComponente.find(v->GetCilindro()); c != porComponente.end())
                nodo->CilindroSim = c->second;
        }
    }

    Red.Nodos.reserve(VNodos.size());
    Red.Avances.reserve(VNodos.size());
    Red.Puertos.reserve(static_cast<std::size_t>(puertos));
    Red.Fijadas.reserve(static_cast<std::size_t>(puertos));
    for (TSimC* nodo : VNodos)
        Red.Agregar(*nodo);
    std::vector<TAerTubo*> tubos;
    tubos.reserve(static_cast<std::size_t>(Canvas.Tubos.Count()));
    for (int i = 0; i < Canvas.Tubos.Count(); ++i)
        tubos.push_back(Canvas.Tubos.ItemComo<TAerTubo>(i));
    Red.Enlazar(tubos);

    for (TSimC* nodo : VNodos) {
        if (!nodo->EsManual())
            continue;
        Manuales.Agregar(std::make_unique<TSimCItem>(nodo));
        // A valve at rest after a run keeps its hand button down.
        const bool abajo = nodo->EsMonoestable() && nodo->GetEstado() == 1.0;
        for (int i = 0; i < nodo->NumPilotos; ++i) {
            PilotosManuales.Agregar(std::make_unique<TSimConItem>(nodo->Piloto(i)));
            VPilotosManuales.push_back(nodo->Piloto(i));
            Botones.push_back(abajo);
        }
    }
    Registro = std::make_unique<TRegistro>(*this);
}

TSimCircuito::~TSimCircuito() {
    Reloj->stop();
}

TSimC* TSimCircuito::NodoDe(const TAerComponente* Componente) const {
    for (TSimC* n : VNodos)
        if (n->Componente == Componente)
            return n;
    return nullptr;
}

void TSimCircuito::Propagar() {
    Red.MaxPasadas = MaxPasadas;
    Red.Propagar();
    Pasadas = Red.Pasadas;
    Fase = 1;
}

void TSimCircuito::Avanzar() {
    Red.Avanzar();
    Fase = 0;
    if (Registro)
        Registro->Anotar(false);
}

void TSimCircuito::Restablecer() {
    Red.Soltar();
    for (std::size_t i = 0; i < VPilotosManuales.size(); ++i)
        VPilotosManuales[i]->SetPresion(Botones[i] ? 1.0 : -1.0);
    const std::int32_t nodos = Red.NumNodos();
    for (std::int32_t i = 0; i < nodos; ++i)
        Red.ReglaRestablecer(i);
    for (std::int32_t i = 0; i < nodos; ++i) {
        switch (Red.Nodos[static_cast<std::size_t>(i)].Clase) {
        case clValvula:
            Red.ProcesarPilotos(i);
            break;
        case clLogica:
            Red.SetEstado(i, 0.5);
            break;
        case clTemporizador:
            Red.SetEstado(i, 0.0);
            break;
        default:
            continue;
        }
        Red.Avances[static_cast<std::size_t>(i)].EstadoAnterior =
            Red.Nodos[static_cast<std::size_t>(i)].Estado;
    }
    Red.Escribir();
    Propagar();
    if (Registro)
        Registro->Reiniciar();
}

void TSimCircuito::Paso() {
    if (Fase == 0) {
        Propagar();
        if (Registro)
            Registro->Anotar(true);
    } else if (Fase == 1)
        Avanzar();
}

void TSimCircuito::Tic() {
    if (Canvas.Modo != mdEjecutar) {
        Reloj->stop();
        return;
    }
    Propagar();
    Avanzar();
    Repintar();
}

void TSimCircuito::Arrancar() {
    if (!Reloj->isActive())
        Reloj->start();
}

bool TSimCircuito::BotonAbajo(int N) const {
    if (N < 0 || N >= NumBotones())
        throw EListaError(N);
    return Botones[static_cast<std::size_t>(N)];
}

void TSimCircuito::PulsarBoton(int N, bool Abajo) {
    if (N < 0 || N >= NumBotones())
        throw EListaError(N);
    TSimCon* p = VPilotosManuales[static_cast<std::size_t>(N)];
    TSimC* nodo = p->Nodo;
    // The buttons of one valve are consecutive, in the order of its pilots.
    int posicion = 0;
    while (nodo->Piloto(posicion) != p)
        ++posicion;
    int otro = -1;
    if (!nodo->EsMonoestable() && nodo->NumPilotos == 2)
        otro = N - posicion + (posicion + 1) % 2;

    Botones[static_cast<std::size_t>(N)] = Abajo;
    if (Abajo) {
        p->SetPresion(1.0);
        if (otro >= 0) {
            VPilotosManuales[static_cast<std::size_t>(otro)]->SetPresion(-1.0);
            Botones[static_cast<std::size_t>(otro)] = false;
        }
    } else {
        p->SetPresion(-1.0);
    }
    nodo->ReglaAvance();
    Propagar();
    Repintar();
}

std::vector<TBotonPanel> TSimCircuito::BotonesPanel() const {
    std::vector<TBotonPanel> r;
    int numero = 0;
    for (int fila = 0; fila < Manuales.Count(); ++fila) {
        TSimC* nodo = Manuales.ItemComo<TSimCItem>(fila)->Nodo;
        const bool rele = nodo->GetValvula()->GetActuador() == TActuador::Rele;
        const std::string nombre =
            nodo->Componente->GetNombre().empty() ? "(sin nombre)" : nodo->Componente->GetNombre();
        // Only pilots that exist get a button.
        for (int i = 0; i < nodo->NumPilotos; ++i) {
            TBotonPanel b;
            b.Numero = numero++;
            b.Fila = fila;
            b.Columna = i;
            b.Mitad = nodo->NumPilotos > 1;
            b.Imagen = i > 0 ? 2 : rele ? 1 : 0;
            b.Pista = std::string(NombreTipo(nodo->Tipo));
            b.Etiqueta = nombre;
            b.Nodo = nodo;
            r.push_back(std::move(b));
        }
    }
    return r;
}

} // namespace ventix
