#include "comm/logic/machines.h"

#include "common/codec.h"
#include "common/programfolder.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

namespace velmora::comm {

namespace {

QStringList list(std::initializer_list<const char *> items) {
    QStringList out;
    for (const char *s : items)
        out << QString::fromLatin1(s);
    return out;
}

const QString kPort = QStringLiteral("Port");
const QString kBaud = QStringLiteral("Rychlost");
const QString kParity = QStringLiteral("Parita");
const QString kStop = QStringLiteral("StopBits");
const QString kData = QStringLiteral("DataBits");
const QString kFlow = QStringLiteral("TokDat");
const QString kEnd = QStringLiteral("EndLine");
const QString kXon = QStringLiteral("XOn");
const QString kXoff = QStringLiteral("XOf");
const QString kChars = QStringLiteral("Chars");
const QString kBefore = QStringLiteral("CharBefore");
const QString kAfter = QStringLiteral("CharAfter");

} // namespace

const QStringList &portEntries() {
    static const QStringList l = list({"COM1", "COM2", "COM3"});
    return l;
}
const QStringList &baudEntries() {
    static const QStringList l = list({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200",
                                       "38400", "56000", "57600", "15200", "128000", "256000"});
    return l;
}
const QStringList &parityEntries() {
    static const QStringList l = list({"Even", "Mark", "None", "Odd", "Space"});
    return l;
}
const QStringList &stopBitEntries() {
    static const QStringList l = list({"1", "1.5", "2"});
    return l;
}
const QStringList &dataBitEntries() {
    static const QStringList l = list({"4", "5", "6", "7", "8"});
    return l;
}
const QStringList &flowEntries() {
    static const QStringList l = list({"RTS/CTS", "Software", "DTR/DSR", "None"});
    return l;
}
const QStringList &endLineEntries() {
    static const QStringList l = list({"CR/LF", "LF", "CR", "LF/CR CR", "LF/CR"});
    return l;
}
const QStringList &beforeEntries() {
    static const QStringList l = list({"#1", "#2"});
    return l;
}
const QStringList &afterEntries() {
    static const QStringList l = list({"#3", "#4", "#23", "#26"});
    return l;
}

const QList<qint32> &baudRates() {
    static const QList<qint32> r = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
                                    38400, 56000, 57600, 115200, 128000, 256000};
    return r;
}

QString matchEntry(const QStringList &entries, const QString &text) {
    for (const QString &e : entries)
        if (e.compare(text, Qt::CaseInsensitive) == 0)
            return e;
    return QString();
}

QString machinesIniPath() { return programFile(QStringLiteral("stroje.ini")); }

QStringList machineNames(const IniFile &ini) { return ini.sections(); }

MachineSettings readMachine(const IniFile &ini, const QString &name) {
    const MachineSettings d;
    MachineSettings m;
    m.name = name;
    const IniData data = ini.read();
    const IniSection *s = data.section(name);
    if (s)
        m.name = s->name;
    auto value = [&](const QString &key, const QString &def) {
        if (s)
            for (const IniEntry &e : s->entries)
                if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                    return e.value;
        return def;
    };
    const QString port = value(kPort, d.port);
    const QString listed = matchEntry(portEntries(), port);
    m.port = listed.isEmpty() ? port : listed;
    m.baud = matchEntry(baudEntries(), value(kBaud, d.baud));
    m.parity = matchEntry(parityEntries(), value(kParity, d.parity));
    m.stopBits = matchEntry(stopBitEntries(), value(kStop, d.stopBits));
    m.dataBits = matchEntry(dataBitEntries(), value(kData, d.dataBits));
    m.flow = matchEntry(flowEntries(), value(kFlow, d.flow));
    m.endLine = matchEntry(endLineEntries(), value(kEnd, d.endLine));
    m.xon = value(kXon, d.xon);
    m.xoff = value(kXoff, d.xoff);
    int chars = 0;
    m.chars = parseIniInteger(value(kChars, QStringLiteral("0")), chars) && chars != 0;
    m.charBefore = matchEntry(beforeEntries(), value(kBefore, QString()));
    m.charAfter = matchEntry(afterEntries(), value(kAfter, QString()));
    return m;
}

bool saveMachine(IniFile &ini, const MachineSettings &m) {
    return ini.writeSection(m.name, {{kPort, m.port},
                                     {kBaud, m.baud},
                                     {kParity, m.parity},
                                     {kStop, m.stopBits},
                                     {kData, m.dataBits},
                                     {kFlow, m.flow},
                                     {kEnd, m.endLine},
                                     {kXon, m.xon},
                                     {kXoff, m.xoff},
                                     {kChars, m.chars ? QStringLiteral("1") : QStringLiteral("0")},
                                     {kBefore, m.charBefore},
                                     {kAfter, m.charAfter}});
}

bool deleteMachine(IniFile &ini, const QString &name) { return ini.eraseSection(name); }

unsigned char CharFromText(const QString &text) {
    if (text.isEmpty())
        return 0;
    if (text.size() > 1 && text.front() == u'#') {
        bool ok = false;
        const int code = text.mid(1).trimmed().toInt(&ok, 10);
        return ok && code >= 0 && code <= 255 ? static_cast<unsigned char>(code) : 0;
    }
    const int b = cp1250Byte(text.front());
    return b < 0 ? 0 : static_cast<unsigned char>(b);
}

QString deviceForPort(const QString &portText) {
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString t = portText.trimmed();
    const QRegularExpressionMatch mt = com.match(t);
    if (mt.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(mt.captured(1).toInt() - 1);
    return t;
}

QStringList availablePortTexts() {
    QStringList out = portEntries();
    QStringList seen;
    for (const QString &p : out)
        seen << deviceForPort(p);
    QStringList others;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString loc = info.systemLocation();
        if (!seen.contains(loc) && !others.contains(loc))
            others << loc;
    }
    others.sort();
    return out + others;
}

bool portSettingsFromMachine(const MachineSettings &m, PortSettings &port, QStringList *problems) {
    bool ok = true;
    auto bad = [&](const char *what, const QString &value) {
        ok = false;
        if (problems)
            *problems << QStringLiteral("%1: '%2' is not a valid choice").arg(QLatin1String(what), value);
    };
    port.deviceName = deviceForPort(m.port);
    if (port.deviceName.isEmpty())
        bad("port", m.port);

    const int b = baudEntries().indexOf(matchEntry(baudEntries(), m.baud));
    if (b >= 0)
        port.baudRate = baudRates().at(b);
    else
        bad("baud rate", m.baud);

    static const Parity parities[] = {Parity::Even, Parity::Mark, Parity::None, Parity::Odd, Parity::Space};
    const int p = parityEntries().indexOf(matchEntry(parityEntries(), m.parity));
    if (p >= 0)
        port.parity = parities[p];
    else
        bad("parity", m.parity);

    static const StopBits stops[] = {StopBits::One, StopBits::OneAndHalf, StopBits::Two};
    const int s = stopBitEntries().indexOf(matchEntry(stopBitEntries(), m.stopBits));
    if (s >= 0)
        port.stopBits = stops[s];
    else
        bad("stop bits", m.stopBits);

    const int d = dataBitEntries().indexOf(matchEntry(dataBitEntries(), m.dataBits));
    if (d >= 0)
        port.dataBits = 4 + d;
    else
        bad("data bits", m.dataBits);

    static const FlowControl flows[] = {FlowControl::fcCTS, FlowControl::fcSoftware, FlowControl::fcDTR,
                                        FlowControl::fcNone};
    const int f = flowEntries().indexOf(matchEntry(flowEntries(), m.flow));
    if (f >= 0)
        port.flow = flows[f];
    else
        bad("flow control", m.flow);
    return ok;
}

QString connectionInfo(const MachineSettings &m) {
    return QStringList{m.port, m.baud, m.parity, m.dataBits, m.stopBits, m.flow, m.endLine}.join(QStringLiteral(" ;"));
}

} // namespace velmora::comm
