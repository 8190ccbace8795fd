#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ventix {

class TAerComponente;
class TAerPaintBox;
class TLineasArchivo;
class TLineasTexto;

// A circuit file that cannot be read: the line (from 1) where reading stopped
// and what went wrong there. The error that stopped the reader (conversion,
// list index, duplicate name) is nested inside it.
class ELecturaAer : public std::runtime_error {
public:
    ELecturaAer(int Linea, const std::string& Motivo);
    int Linea;
    std::string Motivo;
};

// The ".aer" circuit file: one element per line, XML-shaped, ISO-8859-1 on
// disk. The lines handled here are UTF-8; `CargarLineas` and `GuardarLineas`
// transcode at the file boundary.
//
// Values are written verbatim between double quotes, except that characters
// a quoted value cannot hold (a double quote, &, <, >, control characters,
// characters outside Latin-1) become XML character references, which the
// reader turns back.
namespace ArchivoAer {

// Lines of the circuit, in order. Unnamed components are written as "$$$"
// plus their list position; names beginning with "$$$" are cleared after.
std::vector<std::string> Escribir(TAerPaintBox& Lienzo);
// The same lines with the bends' coordinates in full, so that reading them
// back gives exactly this circuit (the undo history keeps these).
std::vector<std::string> Instantanea(TAerPaintBox& Lienzo);

// Lines of the circuit as `Instantanea` writes them, held in shared pieces:
// each element's lines are one immutable piece, pieces are gathered in runs,
// and a copy shares them all. Snapshots written one after another by one
// TEscritorInstantaneas share the pieces and runs of what did not change, so
// a history of them grows with what changed.
class TInstantanea {
public:
    // The lines, as `Instantanea` gave them.
    std::vector<std::string> Lineas() const;
    // The same lines (a comparison that skips what the two share).
    bool operator==(const TInstantanea& Otra) const;
    // Bytes of the pieces and runs this snapshot holds that Otra does not.
    std::size_t BytesPropios(const TInstantanea& Otra) const;

    // One or more lines, each ended by '\n' (no line holds one: the writer
    // escapes control characters).
    using TPieza = std::shared_ptr<const std::string>;
    using TTramo = std::shared_ptr<const std::vector<TPieza>>;

private:
    friend class TEscritorInstantaneas;
    std::shared_ptr<const std::vector<TTramo>> Tramos;
};

// The writer of snapshots for the undo history. For each place of each list
// it keeps the values it last wrote there (names, numbers, flags, its links'
// names, "$$$" names by place), gathered without formatting, and the lines
// they made; an element whose values equal those at or near its old place
// is not formatted again (only its name lines, when just names differ), so
// a snapshot after a small edit costs a pass of compares. Between snapshots
// it holds no pointer to any element.
class TEscritorInstantaneas {
public:
    TEscritorInstantaneas();
    ~TEscritorInstantaneas();
    TEscritorInstantaneas(const TEscritorInstantaneas&) = delete;
    TEscritorInstantaneas& operator=(const TEscritorInstantaneas&) = delete;

    // The lines of Instantanea(Lienzo); as that writer does, it clears names
    // beginning with "$$$".
    TInstantanea Escribir(TAerPaintBox& Lienzo);

private:
    struct TMemoria;
    std::unique_ptr<TMemoria> M;
};

// Lines of a circuit holding only some elements of the canvas (components
// and texts): with the texts linked to them and the tubes whose both ends
// are among them. Links to elements left out are not written.
std::vector<std::string> EscribirGrupo(TAerPaintBox& Lienzo,
                                       const std::vector<TAerComponente*>& Elementos);
// Adds a group's lines to the canvas beside what it holds: a name the
// circuit already has becomes the first free one of NAME_2, NAME_3...; an
// interlock, link or tube naming an element outside the group is dropped.
// Answers the new components and texts; on error nothing is added.
std::vector<TAerComponente*> LeerGrupo(TAerPaintBox& Lienzo,
                                       const std::vector<std::string>& Lineas);
// Rebuilds the circuit from the lines into an emptied canvas. Raises
// ELecturaAer; what was read before the error stays in the canvas. A file
// that ends before its root element is closed is refused as cut short, at
// its last line. States are brought into 0..1; roller locks are made by
// name once every section has been read.
void Leer(TAerPaintBox& Lienzo, const std::vector<std::string>& Lineas);
// The same from a file's bytes as `TLineasTexto` finds their lines: the
// lines are decoded one at a time, never held all at once.
void Leer(TAerPaintBox& Lienzo, const TLineasTexto& Lineas);
// The same from a file read in blocks (`TLineasArchivo`).
void Leer(TAerPaintBox& Lienzo, const TLineasArchivo& Lineas);

// The file's lines as UTF-8 (LeerArchivo's checks, then LineasDeTexto).
std::vector<std::string> CargarLineas(const std::filesystem::path& Ruta);
// Writes the lines in ISO-8859-1, each ended by CR LF, through a temporary
// file, so a failed write leaves the old file whole.
void GuardarLineas(const std::filesystem::path& Ruta, const std::vector<std::string>& Lineas);
// The bytes of a file holding the lines (ISO-8859-1, CR LF).
std::string Bytes(const std::vector<std::string>& Lineas);
// The lines of a file's bytes, as UTF-8: CR LF, LF or CR alone; a leading
// UTF-8 byte-order mark makes the text UTF-8, otherwise it is ISO-8859-1.
std::vector<std::string> LineasDe(std::string_view Bytes);

// The reader's tokenising: the next blank-separated token of the line (a
// quoted value with blanks stays one token), which is taken off the line.
std::string SiguienteToken(std::string& Linea);
// Splits NAME="VALUE" into name and value (verbatim); empty both without "=".
void SepararAtributo(std::string_view Token, std::string& Nombre, std::string& Valor);

// Character references for what a quoted value cannot hold, and back.
std::string Escapar(std::string_view Valor);
std::string Desescapar(std::string_view Valor);

} // namespace ArchivoAer

} // namespace ventix
