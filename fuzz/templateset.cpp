// Template sets on any file: every button the panel makes finds its own section
// (when the header is written as the set writes headers), the body never holds a
// header or the file's last line, and a caret mark lies inside the body.
#include "fuzz/fuzz_check.h"
#include "templates/logic/templateset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    const QStringList lines = in.lines();
    TemplateSet set;
    if (!parseTemplateSet(lines, QStringLiteral("fallback"), set)) {
        FUZZ_CHECK(lines.size() < 2);
        return 0;
    }
    for (const TemplateButton &b : set.buttons) {
        FUZZ_CHECK(!b.section.contains(u'|'));
        const TemplateBody body = templateBody(lines, b.section, b.hint);
        const QString key = QLatin1Char('[') + b.section + QStringLiteral(" |") + b.hint + QLatin1Char(']');
        FUZZ_CHECK(body.found == lines.contains(key));
        if (!body.found) {
            FUZZ_CHECK(body.lines.isEmpty());
            continue;
        }
        const qsizetype at = lines.indexOf(key);
        FUZZ_CHECK(at + qsizetype(body.lines.size()) < lines.size() - 1 || body.lines.isEmpty());
        for (int i = 0; i < body.lines.size(); ++i) {
            const QString &l = body.lines[i];
            // The line as the file has it, with the mark put back.
            QString original = lines[at + 1 + i];
            FUZZ_CHECK(!original.startsWith(u'['));
            if (original.isEmpty())
                original = QStringLiteral(" ");
            if (isIsoTemplateSet(lines) && original.contains(u'|'))
                FUZZ_CHECK(original.size() == l.size() + 1);
            else
                FUZZ_CHECK(original == l && !l.isEmpty());
        }
        if (body.caretLine >= 0) {
            FUZZ_CHECK(isIsoTemplateSet(lines));
            FUZZ_CHECK(body.caretLine < body.lines.size());
            FUZZ_CHECK(body.caretColumn >= 0 && body.caretColumn <= body.lines[body.caretLine].size());
        }
    }
    return 0;
}
