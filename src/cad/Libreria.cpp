#include "cad/Libreria.h"

#include "cad/DXF.h"
#include "foundation/Ini.h"
#include "foundation/Texto.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace ventix {

namespace {

namespace fs = std::filesystem;

// The drawing beside the INI. Names were written on a system that ignores
// case and separates folders with '\': both are allowed for here.
fs::path RutaDibujo(const std::string& Archivo, std::string Nombre) {
    std::replace(Nombre.begin(), Nombre.end(), '\\', '/');
    const fs::path ruta = fs::path(Archivo).parent_path() / fs::path(Nombre);
    std::error_code ec;
    if (fs::exists(ruta, ec))
        return ruta;
    const std::string buscado = MayusculasES(ruta.filename().string());
    for (fs::directory_iterator it(ruta.parent_path(), ec), fin; !ec && it != fin; it.increment(ec))
        if (MayusculasES(it->path().filename().string()) == buscado)
            return it->path();
    return ruta;
}

void LeerBloque(const TArchivoIni& Ini, const TColeccion& Capas, TCADBloque& B,
                const std::string& Archivo) {
    const std::string s = "BLOQUE-" + B.GetNombre();
    B.BaseX = 0;
    B.BaseY = 0;
    B.DeltaX = Ini.ReadFloat(s, "DeltaX", 0);
    B.DeltaY = Ini.ReadFloat(s, "DeltaY", 0);
    B.EscalaIniX = Ini.ReadFloat(s, "EscalaIniX", 1);
    B.EscalaIniY = Ini.ReadFloat(s, "EscalaIniY", 1);
    B.EscalaFinX = Ini.ReadFloat(s, "EscalaFinX", 1);
    B.EscalaFinY = Ini.ReadFloat(s, "EscalaFinY", 1);
    B.RotacionX = Ini.ReadFloat(s, "RotacionX", 0);
    B.RotacionY = Ini.ReadFloat(s, "RotacionY", 0);
    const std::string prefijo =
        "Librería de símbolos \"" + Archivo + "\": el bloque \"" + B.GetNombre() + "\" ";
    // The pose divides by the drawn scale.
    if (B.EscalaIniX == 0)
        throw ELibreriaError(prefijo + "tiene EscalaIniX igual a 0.");
    if (B.EscalaIniY == 0)
        throw ELibreriaError(prefijo + "tiene EscalaIniY igual a 0.");
    auto* capa = dynamic_cast<TCADCapa*>(Capas.Buscar(B.GetNombre()));
    if (!capa)
        throw ELibreriaError(prefijo + "no tiene capa en el dibujo.");
    B.TomarCapa(*capa);
}

} // namespace

// ---- TCADLibreria ----

TCADLibreria::TCADLibreria() : Componentes(TCADComponente::Clase()) {}

void TCADLibreria::Cargar(const std::string& FileName) {
    Componentes.BorrarTodo();
    Archivo = FileName;
    const TArchivoIni ini{fs::path(FileName)};
    if (!ini.Leido())
        throw ELibreriaError("No se puede leer la librería de símbolos \"" + FileName + "\".");
    SetNombre(ini.ReadString("MAIN", "NOMBRE", "Librería " + std::to_string(GetID())));
    DXFFile = ini.ReadString("MAIN", "DXFFile", "");
    if (DXFFile.empty())
        throw ELibreriaError("La librería de símbolos \"" + FileName +
                             "\" no indica su dibujo (DXFFile).");
    TDXF dxf;
    dxf.Cargar(RutaDibujo(Archivo, DXFFile).string());
    dxf.Leer();
    dxf.Lineas.clear();
    Leer(ini, dxf.Capas);
}

void TCADLibreria::Leer(const TArchivoIni& Ini, const TColeccion& Capas) {
    // Components are numbered: one without a section keeps its place, empty,
    // so the ones after it keep theirs. A corrupt count is refused rather
    // than filling memory with empty components.
    const std::int64_t n = Ini.ReadInteger("MAIN", "COMPONENTES", 0);
    if (n > kMaxComponentes)
        throw ELibreriaError("La librería de símbolos \"" + Archivo + "\" declara " +
                             std::to_string(n) + " componentes; el máximo es " +
                             std::to_string(kMaxComponentes) + ".");
    for (int i = 1; i <= n; ++i) {
        const std::string s = "COMPONENTE" + std::to_string(i);
        auto* c = Crear<TCADComponente>(Componentes);
        c->SetNombre(Ini.ReadString(s, "NOMBRE", "Componente " + std::to_string(c->GetID())));
        const std::int64_t bloques = Ini.ReadInteger(s, "BLOQUES", 0);
        if (bloques > kMaxBloques)
            throw ELibreriaError("La librería de símbolos \"" + Archivo + "\" declara " +
                                 std::to_string(bloques) + " bloques en " + s + "; el máximo es " +
                                 std::to_string(kMaxBloques) + ".");
        for (int j = 1; j <= bloques; ++j) {
            auto* b = Crear<TCADBloque>(c->Bloques);
            b->SetNombre(Ini.ReadString(s, "BLOQUE" + std::to_string(j),
                                        "Bloque " + std::to_string(b->GetID())));
            LeerBloque(Ini, Capas, *b, Archivo);
        }
        c->NormalizarBases();
    }
}

TCADComponente* TCADLibreria::Componente(int Numero) const {
    if (Numero < 1 || Numero > Componentes.Count())
        return nullptr;
    return Componentes.ItemComo<TCADComponente>(Numero - 1);
}

void TCADLibreria::Assign(const TColeccionItem& Origen) {
    if (auto* l = dynamic_cast<const TCADLibreria*>(&Origen)) {
        Componentes.Assign(l->Componentes);
        Archivo = l->Archivo;
        DXFFile = l->DXFFile;
    }
    TColeccionItem::Assign(Origen);
}

// ---- TCADEstanteria ----

TCADEstanteria::TCADEstanteria() : Librerias(TCADLibreria::Clase()) {}

TCADLibreria* TCADEstanteria::Libreria(const std::string& Nombre) const {
    return dynamic_cast<TCADLibreria*>(Librerias.Buscar(Nombre));
}

TCADComponente* TCADEstanteria::Simbolo(const std::string& Nombre, int Numero) const {
    const TCADLibreria* l = Libreria(Nombre);
    return l ? l->Componente(Numero) : nullptr;
}

void TCADEstanteria::Assign(const TColeccionItem& Origen) {
    if (auto* e = dynamic_cast<const TCADEstanteria*>(&Origen))
        Librerias.Assign(e->Librerias);
    TColeccionItem::Assign(Origen);
}

} // namespace ventix
