#include "editor/Recuperacion.h"

#include "files/ArchivoAer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

namespace ventix {

TRecuperacion::TRecuperacion(QString C) : Carpeta(std::move(C)) {
    if (Carpeta.isEmpty())
        Carpeta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                  QStringLiteral("/recuperacion");
}

TRecuperacion::~TRecuperacion() = default;

QString TRecuperacion::Ruta(int N, const char* Extension) const {
    return Carpeta + QStringLiteral("/recuperacion-%1.%2").arg(N).arg(QLatin1String(Extension));
}

QStringList TRecuperacion::Abandonados() {
    QStringList r;
    const QRegularExpression Nombre(QStringLiteral("^recuperacion-(\\d+)\\.aer$"));
    const auto Archivos =
        QDir(Carpeta).entryList({QStringLiteral("recuperacion-*.aer")}, QDir::Files, QDir::Name);
    for (const QString& a : Archivos) {
        const auto m = Nombre.match(a);
        if (!m.hasMatch())
            continue;
        const int N = m.captured(1).toInt();
        if (Ruta(N, "aer") == Propio)
            continue;
        auto l = std::make_unique<QLockFile>(Ruta(N, "lock"));
        // The lock of a process that is gone is stale and taken over.
        l->setStaleLockTime(0);
        if (!l->tryLock(0))
            continue;
        r << Ruta(N, "aer");
        Ajenos.emplace_back(Ruta(N, "aer"), std::move(l));
    }
    return r;
}

void TRecuperacion::Descartar(const QString& Archivo) {
    QFile::remove(Archivo);
    for (auto i = Ajenos.begin(); i != Ajenos.end(); ++i)
        if (i->first == Archivo) {
            Ajenos.erase(i);
            break;
        }
}

void TRecuperacion::Escribir(const std::vector<std::string>& Lineas) {
    if (Propio.isEmpty()) {
        QDir().mkpath(Carpeta);
        // The first number whose lock is free and that holds no file left
        // behind by another window.
        for (int N = 1; N < 10000; ++N) {
            auto l = std::make_unique<QLockFile>(Ruta(N, "lock"));
            l->setStaleLockTime(0);
            if (QFile::exists(Ruta(N, "aer")) || !l->tryLock(0))
                continue;
            Cerrojo = std::move(l);
            Propio = Ruta(N, "aer");
            break;
        }
        if (Propio.isEmpty())
            throw std::runtime_error("No se puede crear el archivo de recuperación en \"" +
                                     Carpeta.toStdString() + "\"");
    }
    const std::string Bytes = ArchivoAer::Bytes(Lineas);
    QSaveFile f(Propio);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(Bytes.data(), static_cast<qint64>(Bytes.size())) !=
            static_cast<qint64>(Bytes.size()) ||
        !f.commit())
        throw std::runtime_error("No se puede escribir el archivo de recuperación \"" +
                                 Propio.toStdString() + "\": " + f.errorString().toStdString());
}

void TRecuperacion::Quitar() {
    if (!Propio.isEmpty())
        QFile::remove(Propio);
}

} // namespace ventix
