// The received-byte handler on any bytes, cut into any pieces: the pieces give
// the same lines and end-of-text marks as the bytes in one go, every line and
// the pending line hold printable ASCII only, and nothing is lost: the lines,
// the pending line and the dropped bytes account for every byte.
#include "comm/logic/transfer.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora::comm;
    FuzzInput in(data, size);
    static const char *const ends[] = {"CR/LF", "LF", "CR", "LF/CR CR", "LF/CR", ""};
    const std::optional<char> terminator = receiveTerminator(QString::fromLatin1(ends[in.choice(6)]));
    const int piece = in.byte() % 17 + 1;
    const QByteArray bytes = in.rest().toByteArray();

    Receiver whole;
    const QList<ReceiveEvent> all = whole.feed(bytes, terminator);
    Receiver pieces;
    QList<ReceiveEvent> cut;
    for (qsizetype i = 0; i < bytes.size(); i += piece)
        cut += pieces.feed(bytes.mid(i, piece), terminator);
    FUZZ_CHECK(cut.size() == all.size());
    for (int i = 0; i < all.size(); ++i)
        FUZZ_CHECK(cut[i].kind == all[i].kind && cut[i].text == all[i].text);
    FUZZ_CHECK(pieces.pending() == whole.pending());

    if (!terminator) {
        FUZZ_CHECK(all.isEmpty() && whole.pending().isEmpty());
        return 0;
    }
    qsizetype kept = whole.pending().size(), expected = 0;
    for (const ReceiveEvent &e : all) {
        kept += e.text.size() + 1; // the line end or the ETX byte
        for (QChar c : e.text)
            FUZZ_CHECK(c.unicode() >= 32 && c.unicode() <= 127);
    }
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        expected += c == *terminator || (u >= 32 && u <= 127) || u == 3;
    }
    FUZZ_CHECK(kept == expected);
    const QString last = whole.takePending();
    FUZZ_CHECK(whole.pending().isEmpty());
    FUZZ_CHECK(last == pieces.pending());
    return 0;
}
