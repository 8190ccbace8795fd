// ventix-cli simulate FILE.aer --steps N: runs a checked circuit step by step
// and prints the states as CSV.

#include "Circuito.h"
#include "Comando.h"

#include "circuit/AerTubo.h"
#include "foundation/Numeros.h"
#include "foundation/Texto.h"
#include "sim/SimCircuito.h"

#include <iostream>
#include <map>

namespace ventix::cli {

namespace {

// A button event of the command line: press or release the valve's first
// or second panel button before step K.
struct TEvento {
    bool Pulsar = true;
    std::string Valvula;
    int Boton = 0;
    int Paso = 0;
};

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

// A component's name for the columns: its own, or "#i" by list position.
std::string Columna(const TAerPaintBox& L, int I) {
    const auto& n = L.Componentes.Item(I)->GetNombre();
    return n.empty() ? "#" + std::to_string(I) : n;
}

// A CSV field: as it is, or quoted with its quotes doubled when it holds a
// comma, a quote or a line break (RFC 4180).
std::string CampoCsv(const std::string& Texto) {
    if (Texto.find_first_of(",\"\r\n") == std::string::npos)
        return Texto;
    std::string r = "\"";
    for (char c : Texto)
        r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--steps", "--press", "--release"}, {"--tubes"});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli simulate: " << e.what() << "\n";
        return salidaUso;
    }
    const char* uso = "Uso: ventix-cli simulate ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
                      "       [--release NOMBRE[:2]@K]... [--tubes] [--libreria RUTA]\n";
    int pasos = -1;
    std::vector<TEvento> eventos;
    for (const auto& [nombre, valor] : o.Valores) {
        if (nombre == "--steps") {
            const auto n = Entero(valor);
            if (!n || *n < 0) {
                std::cerr << "ventix-cli simulate: número de pasos no válido \"" << valor << "\"\n";
                return salidaUso;
            }
            pasos = *n;
            continue;
        }
        const auto e = LeerEvento(nombre == "--press", valor);
        if (!e) {
            std::cerr << "ventix-cli simulate: " << nombre << " no válido \"" << valor
                      << "\" (se espera NOMBRE[:2]@PASO, con PASO desde 1)\n";
            return salidaUso;
        }
        eventos.push_back(*e);
    }
    if (o.Posicionales.size() != 1 || pasos < 0) {
        std::cerr << uso;
        return salidaUso;
    }
    for (const auto& e : eventos) {
        if (e.Paso > pasos) {
            std::cerr << "ventix-cli simulate: " << (e.Pulsar ? "--press" : "--release") << " "
                      << e.Valvula << (e.Boton ? ":2" : "") << "@" << e.Paso
                      << " llega después del último paso (" << pasos << ")\n";
            return salidaUso;
        }
    }
    const bool tubos = !o.Banderas.empty();

    TAerPaintBox lienzo;
    if (!CargarCircuito(lienzo, "simulate", o.Posicionales[0], o.Libreria))
        return salidaUso;
    if (lienzo.Verificar() != 0) {
        for (const auto& l : lienzo.Errores)
            std::cerr << l << "\n";
        return salidaError;
    }

    // As the editor enters the stopped mode after a clean check.
    lienzo.ActualizarGeometria();
    TSimCircuito red(lienzo);
    lienzo.Modo = mdParado;
    red.Restablecer();

    // The panel's buttons by valve: name (upper case) or "#i".
    const auto botones = red.BotonesPanel();
    std::map<std::string, std::vector<int>> porValvula;
    for (const auto& b : botones) {
        const int i = b.Nodo->Componente->GetIndice();
        porValvula[MayusculasES(Columna(lienzo, i))].push_back(b.Numero);
        porValvula["#" + std::to_string(i)].push_back(b.Numero);
    }
    std::vector<std::pair<TEvento, int>> acciones;
    for (const auto& e : eventos) {
        auto it = porValvula.find(e.Valvula[0] == '#' ? e.Valvula : MayusculasES(e.Valvula));
        if (it == porValvula.end() || e.Boton >= static_cast<int>(it->second.size())) {
            std::cerr << "ventix-cli simulate: \"" << e.Valvula << (e.Boton ? ":2" : "")
                      << "\" no es un botón del panel del circuito\n";
            return salidaUso;
        }
        acciones.emplace_back(e, it->second[e.Boton]);
    }

    std::vector<int> columnas;
    std::cout << "step";
    for (int i = 0; i < lienzo.Componentes.Count(); ++i) {
        const auto* c = lienzo.Componentes.ItemComo<TAerComponente>(i);
        if (c->EsValvula() || c->EsCilindro() || c->EsLogica() || c->EsTemporizador()) {
            columnas.push_back(i);
            std::cout << "," << CampoCsv(Columna(lienzo, i));
        }
    }
    if (tubos)
        for (int i = 0; i < lienzo.Tubos.Count(); ++i)
            std::cout << ",T" << i;
    std::cout << "\n";

    auto fila = [&](int Paso) {
        std::cout << Paso;
        for (int i : columnas)
            std::cout << ","
                      << NumeroATexto(
                             lienzo.Componentes.ItemComo<TAerComponente>(i)->GetParametro());
        if (tubos)
            for (int i = 0; i < lienzo.Tubos.Count(); ++i)
                std::cout << ","
                          << static_cast<int>(lienzo.Tubos.ItemComo<TAerTubo>(i)->EstadoPresion);
        std::cout << "\n";
    };
    fila(0);
    for (int k = 1; k <= pasos; ++k) {
        for (const auto& [e, boton] : acciones)
            if (e.Paso == k && red.BotonAbajo(boton) != e.Pulsar)
                red.PulsarBoton(boton, e.Pulsar);
        red.Propagar();
        red.Avanzar();
        fila(k);
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoSimulate() {
    static const TComando c{
        "simulate",
        "Simula un circuito .aer paso a paso y escribe los estados en CSV.",
        "Uso: ventix-cli simulate ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
        "       [--release NOMBRE[:2]@K]... [--tubes] [--libreria RUTA]\n\n"
        "Verifica el circuito (con errores, el informe va a la salida de errores y el\n"
        "estado de salida es 1), construye la red de simulación y la restablece como\n"
        "al pasar a modo parado. Escribe en CSV una columna por válvula, cilindro,\n"
        "válvula lógica y temporizador, en el orden del documento, con su nombre o #i\n"
        "(su posición en la lista de componentes); la fila 0 tras restablecer y, para\n"
        "cada paso K de 1 a N, primero los botones del panel pedidos para K (en el\n"
        "orden de la línea de órdenes), luego un paso completo, y la fila K.\n"
        "--press NOMBRE@K    pulsa el botón de la válvula antes del paso K\n"
        "--release NOMBRE@K  lo suelta; NOMBRE:2 es el segundo botón de una biestable\n"
        "--tubes             añade una columna T0, T1... por tubo con su estado de\n"
        "                    presión (0 sin valor, 1 presión, 2 escape, 3 cero)\n\n"
        "Estado de salida: 0 si la simulación corrió, 1 si el circuito tiene errores,\n"
        "2 si no se puede leer o los argumentos no son válidos.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
