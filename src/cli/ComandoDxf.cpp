// ventix-cli dxf FILE.dxf: what the DXF reader makes of a drawing, as JSON.

#include "Comando.h"

#include "cad/DXF.h"
#include "foundation/Numeros.h"

#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>

namespace ventix::cli {

namespace {

// Keys keep the order they are written in, the order the help describes.
using json = nlohmann::ordered_json;

// At most 15 significant digits, as the program writes numbers everywhere.
double Numero(double X) {
    return std::isfinite(X) ? TextoANumero(NumeroATexto(X)) : X;
}

json Punto(double X, double Y, double Z) {
    return json::array({Numero(X), Numero(Y), Numero(Z)});
}

json Entidad(const TCADEntidad& E) {
    json j = {
        {"type", E.GetTipo()},     {"dxf", E.GetTipoText()}, {"subclass", E.GetSubClaseText()},
        {"color", E.GetColor()},   {"rgb", E.GetColorRGB()}, {"weight", Numero(E.GetGrosor())},
        {"points", json::array()},
    };
    if (const auto* p = dynamic_cast<const TCADEntidadPunto*>(&E))
        j["points"].push_back(Punto(p->GetX(), p->GetY(), p->GetZ()));
    for (int i = 0; i < E.Puntos.Count(); ++i) {
        const auto* p = E.Puntos.ItemComo<TCADPunto>(i);
        j["points"].push_back(Punto(p->GetX(), p->GetY(), p->GetZ()));
    }
    if (const auto* c = dynamic_cast<const TCADCirculo*>(&E))
        j["radius"] = Numero(c->GetRadio());
    if (const auto* a = dynamic_cast<const TCADArco*>(&E)) {
        j["alfa1"] = Numero(a->GetAlfa1());
        j["alfa2"] = Numero(a->GetAlfa2());
    }
    if (const auto* t = dynamic_cast<const TCADTexto*>(&E)) {
        j["height"] = Numero(t->GetAltura());
        j["clip_width"] = Numero(t->GetClipWidth());
        j["rotation"] = Numero(t->GetRotacion());
        j["text"] = t->GetTexto();
        j["align"] = t->GetAlineacion();
    }
    return j;
}

json Capa(const TCADCapa& C) {
    json entidades = json::array();
    for (int i = 0; i < C.Entidades.Count(); ++i)
        entidades.push_back(Entidad(*C.Entidades.ItemComo<TCADEntidad>(i)));
    return {
        {"name", C.GetNombre()},           {"color", C.GetColor()},
        {"active", C.GetActiva()},         {"linetype", C.GetLinea()},
        {"weight", Numero(C.GetGrosor())}, {"entities", std::move(entidades)},
    };
}

int Ejecutar(const std::vector<std::string>& Args) {
    if (Args.size() != 1 || Args[0].empty() || Args[0][0] == '-') {
        std::cerr << "Uso: ventix-cli dxf ARCHIVO.dxf\n";
        return salidaUso;
    }
    TDXF dxf;
    try {
        dxf.Cargar(Args[0]);
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli dxf: " << e.what() << "\n";
        return salidaUso;
    }
    json error = nullptr;
    try {
        dxf.Leer();
    } catch (const std::exception& e) {
        error = e.what();
        std::cerr << "ventix-cli dxf: error al leer \"" << Args[0] << "\": " << e.what() << "\n";
    }
    json capas = json::array();
    for (int i = 0; i < dxf.Capas.Count(); ++i)
        capas.push_back(Capa(*dxf.Capas.ItemComo<TCADCapa>(i)));
    const json salida = {{"error", error}, {"layers", std::move(capas)}};
    std::cout << salida.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    return error.is_null() ? salidaBien : salidaError;
}

} // namespace

const TComando& ComandoDxf() {
    static const TComando c{
        "dxf",
        "Muestra en JSON las capas y entidades que Ventix lee de un dibujo DXF.",
        "Uso: ventix-cli dxf ARCHIVO.dxf\n\n"
        "Lee el dibujo como lo hace la biblioteca de símbolos y escribe en la salida\n"
        "estándar un objeto JSON:\n"
        "  {\"error\": null o el mensaje del error que detuvo la lectura,\n"
        "   \"layers\": [{\"name\", \"color\", \"active\", \"linetype\", \"weight\",\n"
        "               \"entities\": [{\"type\", \"dxf\", \"subclass\", \"color\", \"rgb\",\n"
        "                             \"weight\", \"points\", ...}]}]}\n"
        "Las entidades de capas que la tabla de capas no define se descartan.\n\n"
        "Estado de salida: 0 si el dibujo se leyó entero, 1 si la lectura se detuvo por\n"
        "un error (el JSON se escribe igualmente), 2 si el archivo no se puede abrir.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
