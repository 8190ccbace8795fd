#include "Corrida.h"

#include "Comando.h"

#include "circuit/AerComponente.h"
#include "foundation/Texto.h"

#include <iostream>
#include <map>
#include <stdexcept>

namespace ventix::cli {

std::optional<TEvento> LeerEvento(bool Pulsar, const std::string& Texto) {
    const auto arroba = Texto.rfind('@');
    if (arroba == std::string::npos)
        return std::nullopt;
    TEvento e;
    e.Pulsar = Pulsar;
    e.Valvula = Texto.substr(0, arroba);
    const auto paso = Entero(Texto.substr(arroba + 1));
    if (!paso || *paso < 1)
        return std::nullopt;
    e.Paso = *paso;
    if (e.Valvula.size() > 2 && e.Valvula.compare(e.Valvula.size() - 2, 2, ":2") == 0) {
        e.Boton = 1;
        e.Valvula.resize(e.Valvula.size() - 2);
    }
    if (e.Valvula.empty())
        return std::nullopt;
    return e;
}

std::string Columna(const TAerPaintBox& L, int I) {
    const auto& n = L.Componentes.Item(I)->GetNombre();
    return n.empty() ? "#" + std::to_string(I) : n;
}

std::optional<TCorrida> LeerCorrida(const TOpciones& O, const std::string& Orden) {
    TCorrida r;
    for (const auto& [nombre, valor] : O.Valores) {
        if (nombre == "--steps") {
            const auto n = Entero(valor);
            if (!n || *n < 0) {
                std::cerr << "ventix-cli " << Orden << ": número de pasos no válido \"" << valor
                          << "\"\n";
                return std::nullopt;
            }
            r.Pasos = *n;
        } else if (nombre == "--press" || nombre == "--release") {
            const auto e = LeerEvento(nombre == "--press", valor);
            if (!e) {
                std::cerr << "ventix-cli " << Orden << ": " << nombre << " no válido \"" << valor
                          << "\" (se espera NOMBRE[:2]@PASO, con PASO desde 1)\n";
                return std::nullopt;
            }
            r.Eventos.push_back(*e);
        }
    }
    for (const auto& e : r.Eventos) {
        if (r.Pasos >= 0 && e.Paso > r.Pasos) {
            std::cerr << "ventix-cli " << Orden << ": " << (e.Pulsar ? "--press" : "--release")
                      << " " << e.Valvula << (e.Boton ? ":2" : "") << "@" << e.Paso
                      << " llega después del último paso (" << r.Pasos << ")\n";
            return std::nullopt;
        }
    }
    return r;
}

std::vector<std::pair<TEvento, int>> BotonesDeEventos(const TSimCircuito& Red,
                                                      const TAerPaintBox& L,
                                                      const std::vector<TEvento>& Eventos) {
    std::map<std::string, std::vector<int>> porValvula;
    for (const auto& b : Red.BotonesPanel()) {
        const int i = b.Nodo->Componente->GetIndice();
        porValvula[MayusculasES(Columna(L, i))].push_back(b.Numero);
        porValvula["#" + std::to_string(i)].push_back(b.Numero);
    }
    std::vector<std::pair<TEvento, int>> r;
    for (const auto& e : Eventos) {
        auto it = porValvula.find(e.Valvula[0] == '#' ? e.Valvula : MayusculasES(e.Valvula));
        if (it == porValvula.end() || e.Boton >= static_cast<int>(it->second.size()))
            throw std::invalid_argument("\"" + e.Valvula + (e.Boton ? ":2" : "") +
                                        "\" no es un botón del panel del circuito");
        r.emplace_back(e, it->second[static_cast<std::size_t>(e.Boton)]);
    }
    return r;
}

std::unique_ptr<TSimCircuito> Correr(TAerPaintBox& L, const TCorrida& C) {
    L.ActualizarGeometria();
    auto red = std::make_unique<TSimCircuito>(L);
    L.Modo = mdParado;
    red->Restablecer();
    const auto acciones = BotonesDeEventos(*red, L, C.Eventos);
    for (int k = 1; k <= C.Pasos; ++k) {
        for (const auto& [e, boton] : acciones)
            if (e.Paso == k && red->BotonAbajo(boton) != e.Pulsar)
                red->PulsarBoton(boton, e.Pulsar);
        red->Propagar();
        red->Avanzar();
    }
    return red;
}

TResultadoCorrida CorrerArchivo(TAerPaintBox& L, const std::string& Orden,
                                const std::string& Archivo, const std::string& Libreria,
                                const TCorrida& C) {
    TResultadoCorrida r;
    if (!CargarCircuito(L, Orden, Archivo, Libreria)) {
        r.Salida = salidaUso;
        return r;
    }
    if (L.Verificar() != 0) {
        for (const auto& l : L.Errores)
            std::cerr << l << "\n";
        r.Salida = salidaError;
        return r;
    }
    try {
        r.Red = Correr(L, C);
    } catch (const std::invalid_argument& e) {
        std::cerr << "ventix-cli " << Orden << ": " << e.what() << "\n";
        r.Salida = salidaUso;
    }
    return r;
}

std::string TextoObservado(const TSecuencia& Observada) {
    return Observada.Fases.empty() ? "(sin movimientos)" : Observada.Texto();
}

std::string Veredicto(const TComparacion& C, const std::string& Bien) {
    if (!C.Coincide)
        return C.Diferencia;
    return C.Ciclos > 1 ? Bien + " (" + std::to_string(C.Ciclos) + " ciclos)" : Bien;
}

} // namespace ventix::cli
