// ventix-cli diagram FILE.aer OUT.(png|svg|csv) --steps N: writes the
// displacement-step diagram of a run.

#include "Circuito.h"
#include "Comando.h"
#include "Corrida.h"

#include "files/ArchivoDiagrama.h"
#include "sim/Diagrama.h"

#include <QString>

#include <iostream>

namespace ventix::cli {

namespace {

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--steps", "--press", "--release", "--width"}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli diagram: " << e.what() << "\n";
        return salidaUso;
    }
    const auto corrida = LeerCorrida(o, "diagram");
    if (!corrida)
        return salidaUso;
    int ancho = 0;
    for (const auto& [nombre, valor] : o.Valores) {
        if (nombre != "--width")
            continue;
        const auto n = Entero(valor);
        if (!n || *n < 100 || *n > 100000) {
            std::cerr << "ventix-cli diagram: anchura no válida \"" << valor
                      << "\" (de 100 a 100000 píxeles)\n";
            return salidaUso;
        }
        ancho = *n;
    }
    if (o.Posicionales.size() != 2 || corrida->Pasos < 0) {
        std::cerr << "Uso: ventix-cli diagram ARCHIVO.aer SALIDA.(png|svg|csv) --steps N\n"
                     "       [--press NOMBRE[:2]@K]... [--release NOMBRE[:2]@K]... [--width W]\n";
        return salidaUso;
    }
    const QString ext =
        QString::fromStdString(std::filesystem::u8path(o.Posicionales[1]).extension().string())
            .toLower();
    if (ext != QStringLiteral(".png") && ext != QStringLiteral(".svg") &&
        ext != QStringLiteral(".csv")) {
        std::cerr << "ventix-cli diagram: formato de salida desconocido \"" << o.Posicionales[1]
                  << "\" (se admiten .png, .svg y .csv)\n";
        return salidaUso;
    }

    TAerPaintBox lienzo;
    const auto corrido = CorrerArchivo(lienzo, "diagram", o.Posicionales[0], o.Libreria, *corrida);
    if (!corrido.Red)
        return corrido.Salida;
    const auto& red = corrido.Red;
    TDiagrama d(*red->Registro);
    if (ancho > 0)
        d.AjustarAncho(ancho);
    try {
        ArchivoDiagrama::Guardar(d, std::filesystem::u8path(o.Posicionales[1]));
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli diagram: " << e.what() << "\n";
        return salidaError;
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoDiagram() {
    static const TComando c{
        "diagram",
        "Escribe el diagrama espacio-fase de una simulación (PNG, SVG o CSV).",
        "Uso: ventix-cli diagram ARCHIVO.aer SALIDA.(png|svg|csv) --steps N\n"
        "       [--press NOMBRE[:2]@K]... [--release NOMBRE[:2]@K]... [--width W]\n"
        "       [--libreria RUTA]\n\n"
        "Simula el circuito como simulate y escribe el diagrama de la simulación: una\n"
        "columna por paso, una fila por cilindro (niveles 0 y 1), válvula, botón del\n"
        "panel y temporizador. La extensión elige el formato: .png imagen, .svg dibujo,\n"
        ".csv la tabla de pasos por filas. --width W reparte W píxeles entre los pasos.\n\n"
        "Estado de salida: 0 si se escribió, 1 si el circuito tiene errores o el\n"
        "archivo no se puede escribir, 2 si no se puede leer o los argumentos no son\n"
        "válidos.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
