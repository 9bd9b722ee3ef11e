// stroje.ini machines, character texts and the mapping onto the port.
#include "comm/logic/machines.h"
#include "comm/logic/session.h"
#include "common/ini.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::comm;

TEST(Machines, MissingKeysReadAsDefaultsAndListTextsMatchWithoutCase) {
    test::ScratchFolder folder;
    folder.write("stroje.ini", test::cp1250Lines({"[Empty]", "[Hand]", "Parita=even", "DataBits=9", "Rychlost=15200",
                                                  "Port=/dev/ttyUSB0", "TokDat=software", "EndLine=lf/cr cr",
                                                  "XOn=A", "Chars=1", "CharBefore=#2", "CharAfter=#5"}));
    const IniFile ini(machinesIniPath());
    EXPECT_EQ(machineNames(ini), (QStringList{"Empty", "Hand"}));

    MachineSettings defaults;
    defaults.name = "Empty";
    EXPECT_EQ(readMachine(ini, "empty"), defaults);
    EXPECT_EQ(defaults.port, "COM1");
    EXPECT_EQ(defaults.flow, "RTS/CTS");
    EXPECT_EQ(defaults.xoff, "#19");
    EXPECT_FALSE(defaults.chars);

    const MachineSettings m = readMachine(ini, "Hand");
    EXPECT_EQ(m.parity, "Even");
    EXPECT_EQ(m.dataBits, "");       // no choice
    EXPECT_EQ(m.baud, "15200");
    EXPECT_EQ(m.port, "/dev/ttyUSB0"); // a typed device is kept
    EXPECT_EQ(m.flow, "Software");
    EXPECT_EQ(m.endLine, "LF/CR CR");
    EXPECT_EQ(m.xon, "A");
    EXPECT_TRUE(m.chars);
    EXPECT_EQ(m.charBefore, "#2");
    EXPECT_EQ(m.charAfter, "");      // "#5" is not an entry
}

TEST(Machines, SaveWritesAllTwelveKeysAndOverwritesAnExistingMachine) {
    test::ScratchFolder folder;
    IniFile ini(machinesIniPath());
    MachineSettings m;
    m.name = "Fréza";
    m.baud = "15200";
    m.chars = true;
    m.charBefore = "#2";
    m.charAfter = "#3";
    ASSERT_TRUE(saveMachine(ini, m));
    const QString text = QString::fromLatin1(folder.read("stroje.ini"));
    for (const char *key : {"Port=COM1", "Rychlost=15200", "Parita=Even", "StopBits=1", "DataBits=7",
                            "TokDat=RTS/CTS", "EndLine=CR/LF", "XOn=#17", "XOf=#19", "Chars=1", "CharBefore=#2",
                            "CharAfter=#3"})
        EXPECT_TRUE(text.contains(QLatin1String(key) + QLatin1String("\r\n"))) << key;
    EXPECT_EQ(readMachine(ini, m.name), m);

    MachineSettings other = m;
    other.name = "fréza"; // same machine, other case
    other.parity = "Odd";
    ASSERT_TRUE(saveMachine(ini, other));
    EXPECT_EQ(machineNames(ini).size(), 1);
    EXPECT_EQ(readMachine(ini, "Fréza").parity, "Odd");

    ASSERT_TRUE(deleteMachine(ini, "Fréza"));
    EXPECT_TRUE(machineNames(ini).isEmpty());
}

TEST(Machines, FindMachineNamesTheFileAndTheMachinesWhenMissing) {
    test::ScratchFolder folder;
    MachineSettings m;
    QString error;
    EXPECT_FALSE(findMachine("Mill", m, error));
    EXPECT_TRUE(error.contains("stroje.ini")) << error.toStdString();
    folder.write("stroje.ini", test::cp1250Lines({"[Mill]", "Rychlost=4800", "[Lathe]"}));
    EXPECT_FALSE(findMachine("Drill", m, error));
    EXPECT_TRUE(error.contains("Mill, Lathe")) << error.toStdString();
    ASSERT_TRUE(findMachine("MILL", m, error));
    EXPECT_EQ(m.name, "Mill");
    EXPECT_EQ(m.baud, "4800");
}

TEST(Machines, CharFromText) {
    const struct {
        const char *text;
        int code;
    } cases[] = {{"", 0}, {"#17", 17}, {"#2", 2}, {"#", '#'}, {"#x", 0}, {"#300", 0}, {"#-1", 0},
                 {"A", 'A'}, {"AB", 'A'}, {" #1", ' '}};
    for (const auto &c : cases)
        EXPECT_EQ(CharFromText(QString::fromLatin1(c.text)), c.code) << c.text;
    EXPECT_EQ(CharFromText(QStringLiteral("č")), 0xE8); // its Windows-1250 byte
}

TEST(Machines, PortSettingsFromTheMachinesTexts) {
    MachineSettings m;
    m.port = "COM3";
    m.baud = "15200";
    m.parity = "Mark";
    m.stopBits = "2";
    m.dataBits = "5";
    m.flow = "Software";
    PortSettings p;
    ASSERT_TRUE(portSettingsFromMachine(m, p));
    EXPECT_EQ(p.deviceName, "/dev/ttyS2");
    EXPECT_EQ(p.baudRate, 115200);
    EXPECT_EQ(p.parity, Parity::Mark);
    EXPECT_EQ(p.stopBits, StopBits::Two);
    EXPECT_EQ(p.dataBits, 5);
    EXPECT_EQ(p.flow, FlowControl::fcSoftware);

    // Every baud entry maps onto its rate.
    for (int i = 0; i < baudEntries().size(); ++i) {
        m.baud = baudEntries()[i];
        ASSERT_TRUE(portSettingsFromMachine(m, p));
        EXPECT_EQ(p.baudRate, baudRates()[i]);
    }
    const QStringList flows = flowEntries();
    const FlowControl expected[] = {FlowControl::fcCTS, FlowControl::fcSoftware, FlowControl::fcDTR, FlowControl::fcNone};
    for (int i = 0; i < flows.size(); ++i) {
        m.flow = flows[i];
        ASSERT_TRUE(portSettingsFromMachine(m, p));
        EXPECT_EQ(p.flow, expected[i]);
    }

    // A list without a choice is named and leaves the setting alone.
    m.dataBits = "";
    m.baud = "12345";
    PortSettings q;
    QStringList problems;
    EXPECT_FALSE(portSettingsFromMachine(m, q, &problems));
    EXPECT_EQ(q.dataBits, 8);
    EXPECT_EQ(q.baudRate, 9600);
    EXPECT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems.join("|").contains("data bits")) << problems.join("|").toStdString();
}

TEST(Machines, DevicesAndTheInformationLabel) {
    EXPECT_EQ(deviceForPort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(deviceForPort("com2"), "/dev/ttyS1");
    EXPECT_EQ(deviceForPort("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(deviceForPort("ttyACM0"), "ttyACM0");
    EXPECT_EQ(availablePortTexts().mid(0, 3), portEntries());
    MachineSettings m;
    EXPECT_EQ(connectionInfo(m), "COM1 ;9600 ;Even ;7 ;1 ;RTS/CTS ;CR/LF");
}
