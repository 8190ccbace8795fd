#include "circuit/TipoComponente.h"

#include "foundation/Texto.h"

#include <array>

namespace ventix {

namespace {

constexpr std::array<std::string_view, 32> kNombres = {
    "Null",
    "Presión",
    "Válvula22NA",
    "Válvula22NC",
    "Válvula32NA",
    "Válvula32NC",
    "Válvula52",
    "CilindroSimple",
    "CilindroDoble",
    "VálvulaAnd",
    "VálvulaOr",
    "Regulador1",
    "Regulador2",
    "TemporizadorNA",
    "TemporizadorNC",
    "Escape",
    "Escape2",
    "Conexión",
    "ConexiónPilotada",
    "Vértice",
    "ConectorT",
    "ActuadorMuelle",
    "ActuadorPilotadoIzquierdo",
    "ActuadorPilotadoDerecho",
    "ActuadorReléIzquierdo",
    "ActuadorReléDerecho",
    "ActuadorSeta",
    "ActuadorRodillo",
    "ActuadorEscamoteable",
    "ActuadorAnclaje",
    "TextBox",
    "Last",
};

constexpr std::array<std::string_view, 5> kActuadores = {"Pilotado", "Relé", "Seta", "Rodillo",
                                                         "Escamoteable"};
constexpr std::array<std::string_view, 2> kSentidos = {"Retroceso", "Avance"};

template <std::size_t N>
std::optional<std::size_t> Buscar(const std::array<std::string_view, N>& Tabla,
                                  std::string_view Nombre) {
    const std::string clave = MayusculasES(Nombre);
    for (std::size_t i = 0; i < N; ++i)
        if (MayusculasES(Tabla[i]) == clave)
            return i;
    return std::nullopt;
}

} // namespace

std::string_view NombreTipo(TTipoComponente Tipo) {
    const auto v = static_cast<std::size_t>(Tipo);
    return v < kNombres.size() ? kNombres[v] : std::string_view{};
}

std::optional<TTipoComponente> TipoDeNombre(std::string_view Nombre) {
    if (auto i = Buscar(kNombres, Nombre))
        return static_cast<TTipoComponente>(*i);
    return std::nullopt;
}

std::string_view NombreActuador(TActuador A) {
    const auto v = static_cast<std::size_t>(A);
    return v < kActuadores.size() ? kActuadores[v] : std::string_view{};
}

std::optional<TActuador> ActuadorDeNombre(std::string_view Nombre) {
    if (auto i = Buscar(kActuadores, Nombre))
        return static_cast<TActuador>(*i);
    return std::nullopt;
}

std::string_view NombreSentido(TSentido S) {
    const auto v = static_cast<std::size_t>(S);
    return v < kSentidos.size() ? kSentidos[v] : std::string_view{};
}

std::optional<TSentido> SentidoDeNombre(std::string_view Nombre) {
    if (auto i = Buscar(kSentidos, Nombre))
        return static_cast<TSentido>(*i);
    return std::nullopt;
}

} // namespace ventix
