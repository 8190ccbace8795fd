#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ventix {

// Component types: the names key the catalogue sections and the circuit
// file's type names. The byte values are stored nowhere but must not change:
// the catalogue is read in this order.
enum class TTipoComponente : std::uint8_t {
    Null = 0,
    Presion = 1,
    Valvula22NA = 2,
    Valvula22NC = 3,
    Valvula32NA = 4,
    Valvula32NC = 5,
    Valvula52 = 6,
    CilindroSimple = 7,
    CilindroDoble = 8,
    ValvulaAnd = 9,
    ValvulaOr = 10,
    Regulador1 = 11,
    Regulador2 = 12,
    TemporizadorNA = 13,
    TemporizadorNC = 14,
    Escape = 15,
    Escape2 = 16,
    Conexion = 17,
    ConexionPilotada = 18,
    Vertice = 19,
    ConectorT = 20,
    ActuadorMuelle = 21,
    ActuadorPilotadoIzquierdo = 22,
    ActuadorPilotadoDerecho = 23,
    ActuadorReleIzquierdo = 24,
    ActuadorReleDerecho = 25,
    ActuadorSeta = 26,
    ActuadorRodillo = 27,
    ActuadorEscamoteable = 28,
    ActuadorAnclaje = 29,
    TextBox = 30,
    Last = 31,
    Tubo = 32, // tubes have no symbol and no connection points
};

// The name of a type as the catalogue and the files write it ("Válvula32NC");
// empty for values outside 0..31.
std::string_view NombreTipo(TTipoComponente Tipo);
// The type of a name, compared without regard to case; nullopt if none.
std::optional<TTipoComponente> TipoDeNombre(std::string_view Nombre);

constexpr int NumeroTipo(TTipoComponente T) {
    return static_cast<int>(T);
}

constexpr bool EsPresion(TTipoComponente T) {
    return T == TTipoComponente::Presion;
}
constexpr bool EsValvula(TTipoComponente T) {
    return NumeroTipo(T) >= 2 && NumeroTipo(T) <= 6;
}
constexpr bool EsCilindro(TTipoComponente T) {
    return NumeroTipo(T) == 7 || NumeroTipo(T) == 8;
}
constexpr bool EsLogica(TTipoComponente T) {
    return NumeroTipo(T) == 9 || NumeroTipo(T) == 10;
}
constexpr bool EsRegulador(TTipoComponente T) {
    return NumeroTipo(T) == 11 || NumeroTipo(T) == 12;
}
constexpr bool EsTemporizador(TTipoComponente T) {
    return NumeroTipo(T) == 13 || NumeroTipo(T) == 14;
}
constexpr bool EsEscape(TTipoComponente T) {
    return T == TTipoComponente::Escape;
}
constexpr bool EsConexion(TTipoComponente T) {
    return NumeroTipo(T) == 17 || NumeroTipo(T) == 18;
}
constexpr bool EsPilotada(TTipoComponente T) {
    return T == TTipoComponente::ConexionPilotada;
}
constexpr bool EsVertice(TTipoComponente T) {
    return T == TTipoComponente::Vertice;
}
constexpr bool EsConectorT(TTipoComponente T) {
    return T == TTipoComponente::ConectorT;
}

// The left actuator of a directional valve; the byte values are the file's.
enum class TActuador : std::uint8_t {
    Pilotado = 0,
    Rele = 1,
    Seta = 2,
    Rodillo = 3,
    Escamoteable = 4
};
// Direction in which a one-way roller acts.
enum class TSentido : std::uint8_t { Retroceso = 0, Avance = 1 };

std::string_view NombreActuador(TActuador A); // "Pilotado", "Relé", ...
std::optional<TActuador> ActuadorDeNombre(std::string_view Nombre);
std::string_view NombreSentido(TSentido S); // "Retroceso", "Avance"
std::optional<TSentido> SentidoDeNombre(std::string_view Nombre);

} // namespace ventix
