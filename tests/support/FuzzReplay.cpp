// Runs a fuzz target's entry point over files (the seed corpus and the
// inputs of earlier findings), so the normal test suite keeps checking them.
#include <QDir>
#include <QFile>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++files;
        }
    }
    std::printf("%d passed, 0 failed\n", files);
    return 0;
}
