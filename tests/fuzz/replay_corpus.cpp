// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds every file of the given folders to the fuzz entry once, so the corpus
// and every crasher found are rechecked by any compiler, without libFuzzer.
#include <QDirIterator>
#include <QFile>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files); it.hasNext();
             ++replayed) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
        }
    return replayed > 0 ? 0 : 1;
}
