#pragma once

#include "cad/Entidades.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ventix {

// Reads the subset of ASCII DXF the symbols need into layers of entities:
// the layer table and POINT, LINE, CIRCLE, ARC, LWPOLYLINE, POLYLINE, TEXT
// and MTEXT. Everything else is skipped or kept as an undrawn entity.
// Errors are raised as exceptions; what was read before one stays in Capas.
class TDXF {
public:
    TDXF();
    ~TDXF();

    // Empties Capas and loads the file's lines (CR LF, LF or CR), each decoded
    // as UTF-8 when valid and as Latin-1 otherwise. Raises std::runtime_error
    // when the file cannot be read.
    void Cargar(const std::string& FileName);
    // Parses Lineas into Capas.
    void Leer();

    std::vector<std::string> Lineas;
    int Indice = 0;
    std::string Codigo;
    std::string Valor;
    TColeccion Capas; // of TCADCapa

private:
    struct TRegistro;

    const std::string& Linea(int I) const;
    void LeerPar();
    bool EsPar(const char* C, const char* V) const { return Codigo == C && Valor == V; }
    void SaltarHasta(const char* V);
    void LeerSeccion();
    void LeerTablas();
    void LeerTablaCapas();
    void LeerCapa();
    void LeerEntidades();
    void LeerEntidad();
    // Gathers the pairs from the current 0 pair up to the next one.
    void Reunir(TRegistro& R);
    std::unique_ptr<TCADEntidad> CrearEntidad(const TRegistro& R);
    std::unique_ptr<TCADEntidad> LeerPolilinea(const TRegistro& R);
    TCADCapa* BuscarCapa(const std::string& Nombre) const;
    void RegistrarCapa(TCADCapa* Capa);

    // Layers by upper-case name, so that each entity finds its layer in
    // constant time; rebuilt from Capas when Leer starts.
    std::unordered_map<std::string, TCADCapa*> CapasPorNombre;
};

} // namespace ventix
