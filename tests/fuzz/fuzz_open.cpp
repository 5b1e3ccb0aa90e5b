// Arbitrary bytes through the open path: decoded by their content and installed into the
// document as opening a file does. A crash, a leak, a hang or a sanitizer report fails the run.

#include "document/CPravikDoc.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdint>

namespace {
CPravikDoc *document = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The decoders' complaints about damaged input would bury libFuzzer's report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // Qt keeps the arguments; libFuzzer's own stay out of its reach.
    static int argc = 1;
    static char name[] = "fuzz_open";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    document = new CPravikDoc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    document->ReadImage(file);
    return 0;
}
