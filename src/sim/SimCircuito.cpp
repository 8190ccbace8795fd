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
        if (nodo->EsRodillo())
            VRodillos.push_back(nodo);
        if (nodo->EsManual()) {
            Manuales.Agregar(std::make_unique<TSimCItem>(nodo));
            // A valve at rest after a run keeps its hand button down.
            const bool abajo = nodo->EsMonoestable() && nodo->Estado == 1.0;
            for (int i = 0; i < nodo->NumPilotos; ++i) {
                PilotosManuales.Agregar(std::make_unique<TSimConItem>(nodo->Piloto(i)));
                VPilotosManuales.push_back(nodo->Piloto(i));
                Botones.push_back(abajo);
            }
        }
    }

    std::unordered_map<const TAerTubo*, std::size_t> indices;
    for (int i = 0; i < Canvas.Tubos.Count(); ++i) {
        VTubos.push_back(Canvas.Tubos.ItemComo<TAerTubo>(i));
        indices.emplace(VTubos.back(), VTubos.size() - 1);
    }
    EstadosTubos.resize(VTubos.size());
    Antes.resize(VTubos.size());
    for (std::size_t i = 0; i < VTubos.size(); ++i)
        EstadosTubos[i] = VTubos[i]->EstadoPresion;
    for (TSimC* nodo : VNodos)
        for (TColeccion* lista : {&nodo->Entradas, &nodo->Salidas, &nodo->Pilotos})
            for (int i = 0; i < lista->Count(); ++i) {
                auto* p = static_cast<TSimCon*>(lista->Item(i));
                if (auto t = indices.find(p->Tubo); p->Tubo && t != indices.end())
                    p->Espejo = &EstadosTubos[t->second];
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
    std::fill(EstadosTubos.begin(), EstadosTubos.end(), 0);
    Pasadas = 0;
    for (;;) {
        Antes = EstadosTubos;
        for (TSimC* n : VNodos)
            n->ReglaPropagacion();
        ++Pasadas;
        if (Antes == EstadosTubos || Pasadas >= MaxPasadas)
            break;
    }
    // The tubes take their states from the network's copy; most are as they
    // were, and reading one costs less than writing it.
    for (std::size_t i = 0; i < VTubos.size(); ++i)
        if (VTubos[i]->EstadoPresion != EstadosTubos[i])
            VTubos[i]->EstadoPresion = EstadosTubos[i];
    Fase = 1;
}

void TSimCircuito::Avanzar() {
    for (TSimC* n : VNodos)
        n->ReglaAvance();
    // Rollers see the rods where this same step left them.
    for (TSimC* n : VRodillos)
        n->ProcesarRodillo();
    Fase = 0;
    if (Registro)
        Registro->Anotar(false);
}

void TSimCircuito::Restablecer() {
    for (TSimC* n : VNodos) {
        for (TColeccion* lista : {&n->Entradas, &n->Salidas, &n->Pilotos}) {
            for (int i = 0; i < lista->Count(); ++i) {
                auto* p = static_cast<TSimCon*>(lista->Item(i));
                p->Fijada = false;
                if (p->Tubo)
                    p->Tubo->EstadoPresion = 0;
                if (p->Espejo)
                    *p->Espejo = 0;
            }
        }
    }
    for (std::size_t i = 0; i < VPilotosManuales.size(); ++i)
        VPilotosManuales[i]->SetPresion(Botones[i] ? 1.0 : -1.0);
    for (TSimC* n : VNodos)
        n->ReglaRestablecer();
    for (TSimC* n : VNodos) {
        switch (n->ClaseSim) {
        case clValvula:
            n->ProcesarPilotos();
            break;
        case clLogica:
            n->SetEstado(0.5);
            break;
        case clTemporizador:
            n->SetEstado(0.0);
            break;
        default:
            continue;
        }
        n->EstadoAnterior = n->Estado;
    }
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
