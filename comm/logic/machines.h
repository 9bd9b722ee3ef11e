#pragma once
// Machines of stroje.ini: named sets of serial line settings, and how they map
// onto the serial port.
//
// One section per machine; the section name is the machine's description.
// Every value is the text of an entry of the machine window's lists, except
// "Port" (any device the user typed), "XOn"/"XOf" (free text) and "Chars"
// (a boolean written "1" or "0"). List texts are matched without regard to
// case; a stored text that matches no entry reads as "no choice" (empty).
#include "common/ini.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::comm {

// The entries of the machine window's lists, in list order.
const QStringList &portEntries();      // "COM1", "COM2", "COM3"
const QStringList &baudEntries();      // "110" ... "57600", "15200" (115 200 Bd), "128000", "256000"
const QStringList &parityEntries();    // "Even", "Mark", "None", "Odd", "Space"
const QStringList &stopBitEntries();   // "1", "1.5", "2"
const QStringList &dataBitEntries();   // "4" ... "8"
const QStringList &flowEntries();      // "RTS/CTS", "Software", "DTR/DSR", "None"
const QStringList &endLineEntries();   // "CR/LF", "LF", "CR", "LF/CR CR", "LF/CR"
const QStringList &beforeEntries();    // "#1", "#2"
const QStringList &afterEntries();     // "#3", "#4", "#23", "#26"

// The rates of the baud entries, index for index (the entry "15200" is 115 200 Bd).
const QList<qint32> &baudRates();

// The list entry equal to `text` without regard to case, or an empty text when none is.
QString matchEntry(const QStringList &entries, const QString &text);

struct MachineSettings {
    QString name;                       // section name
    QString port = QStringLiteral("COM1");
    QString baud = QStringLiteral("9600");
    QString parity = QStringLiteral("Even");
    QString stopBits = QStringLiteral("1");
    QString dataBits = QStringLiteral("7");
    QString flow = QStringLiteral("RTS/CTS");
    QString endLine = QStringLiteral("CR/LF");
    QString xon = QStringLiteral("#17");
    QString xoff = QStringLiteral("#19");
    bool chars = false;
    QString charBefore;                 // empty: no choice
    QString charAfter;
    bool operator==(const MachineSettings &) const = default;
};

// Path of stroje.ini in the program folder.
QString machinesIniPath();

// Machine names (section names) in file order.
QStringList machineNames(const IniFile &ini);
// Reads a machine's section; missing keys give the defaults above. A stored
// list text that matches no entry gives an empty text (no choice); the name is
// the section's own (letter case as in the file); the port
// keeps what was typed, with "com2" read as "COM2".
MachineSettings readMachine(const IniFile &ini, const QString &name);
// Writes all twelve keys into the section `m.name` (created or overwritten).
bool saveMachine(IniFile &ini, const MachineSettings &m);
bool deleteMachine(IniFile &ini, const QString &name);

// The character a text stands for: an empty text is 0; "#" followed by a
// decimal code is that code ("#17" is 17; a code that is not an integer from
// 0 to 255 gives 0); any other text stands for its first character (as its
// Windows-1250 byte; 0 when it has none).
unsigned char CharFromText(const QString &text);

// --- the serial port ------------------------------------------------------

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };
enum class FlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };

struct PortSettings {
    QString deviceName = QStringLiteral("Com2");
    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    int dataBits = 8;
    FlowControl flow = FlowControl::fcDefault;
    bool operator==(const PortSettings &) const = default;
};

// The device a port text names: "COM1" to "COM3" (and any "COMn") are the
// serial devices /dev/ttyS0, /dev/ttyS1, ... of this system; any other text
// is a device name or path handed on unchanged ("/dev/ttyUSB0", "/dev/pts/3").
QString deviceForPort(const QString &portText);

// The port texts the machine window offers: "COM1" to "COM3", then the
// location of every other serial port the system reports.
QStringList availablePortTexts();

// Maps a machine's texts onto the port settings. A list without a choice (a
// text that matches no entry) cannot be applied: it is named in `problems`
// ("data bits: '9' is not a valid choice") and leaves that setting as it was.
// Returns true when every setting was applied.
bool portSettingsFromMachine(const MachineSettings &m, PortSettings &port, QStringList *problems = nullptr);

// The information label text: "COM1 ;9600 ;Even ;7 ;1 ;RTS/CTS ;CR/LF".
QString connectionInfo(const MachineSettings &m);

} // namespace velmora::comm
