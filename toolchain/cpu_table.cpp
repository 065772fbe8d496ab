#include "toolchain/cpu_table.h"

#include "core/table_checks.h"

namespace quorle::toolchain {

namespace {

using BO = ByteOrderRule;

constexpr CpuRow kCorvo[] = {
    {"CV1", "CV1", "-mcv1", BO::Big, "cv1", "", ""},
    {"CV2", "CV2", "-mcv2", BO::Choice, "cv2", "", ""},
    {"CV2E", "CV2E (FPU)", "-mcv2e", BO::Big, "cv2e", "", ""},
    {"CV2X", "CV2X", "-mcv2x", BO::Big, "cv2x", "", ""},
    {"CV2X-NF", "CV2X without FPU", "-mcv2x-nf", BO::Big, "cv2x-nf", "", ""},
    {"CV2X-SP", "CV2X single precision", "-mcv2x-sp", BO::Big, "cv2x-sp", "", ""},
    {"CV2X-SPO", "CV2X single precision only", "-mcv2x-spo", BO::Big, "cv2x-spo", "", ""},
    {"CV3", "CV3", "-mcv3", BO::Choice, "cv3", "", ""},
    {"CV3E", "CV3E (FPU)", "-mcv3e", BO::Big, "cv3e", "", ""},
    {"CV4", "CV4", "-mcv4", BO::Choice, "cv4", "", ""},
    {"CV4-NF", "CV4 without FPU", "-mcv4-nf", BO::Choice, "cv4-nf", "", ""},
    {"CV4-SP", "CV4 single precision", "-mcv4-sp", BO::Choice, "cv4-sp", "", ""},
    {"CV4-SPO", "CV4 single precision only", "-mcv4-spo", BO::Choice, "cv4-spo", "", ""},
    {"CV4X", "CV4X", "-mcv4x", BO::Choice, "cv4x", "", ""},
    {"CV4X-NF", "CV4X without FPU", "-mcv4x-nf", BO::Choice, "cv4x-nf", "", ""},
    {"CV4X-SP", "CV4X single precision", "-mcv4x-sp", BO::Choice, "cv4x-sp", "", ""},
    {"CV4X-SPO", "CV4X single precision only", "-mcv4x-spo", BO::Choice, "cv4x-spo", "", ""},
    {"CV4X-DSP", "CV4X with DSP", "-mcv4x-dsp", BO::Choice, "cv4x-dsp", "", ""},
};

constexpr CpuRow kPelka[] = {
    {"PK1", "PK1", "", BO::Big, "", "pelka", "pelkan"},
    {"PK2", "PK2", "-mpk2", BO::Big, "pk2", "pelka2", "pelka2n"},
    {"PK3", "PK3", "-mpk3", BO::Big, "pk3", "pelka3", "pelka3n"},
    {"PK3M", "PK3 with MAC", "-mpk3 -mpkmac", BO::Big, "pk3m", "pelka3", "pelka3n"},
    {"PK4", "PK4", "-mpk4", BO::Big, "pk4", "pelka4", "pelka4n"},
};

constexpr CpuRow kTamsin16[] = {
    {"TM16A", "TM16A", "-mcpu=tm16", BO::Little, "tm16", "", ""},
    {"TM16B", "TM16B", "-mcpu=tm16", BO::Little, "tm16", "", ""},
    {"TM16C", "TM16C", "-mcpu=tm16", BO::Little, "tm16", "", ""},
    {"TM16D", "TM16D", "-mcpu=tm16", BO::Little, "tm16", "", ""},
    {"TM16E", "TM16E", "-mcpu=tm16", BO::Little, "tm16", "", ""},
    {"TM16X", "TM16X", "-mcpu=tm16x", BO::Little, "tm16x", "", ""},
};

constexpr CpuRow kTamsin32[] = {
    {"TM32A", "TM32A", "-mcpu=tm32a", BO::Little, "tm32a", "", ""},
    {"TM32B", "TM32B", "-mcpu=tm32b", BO::Little, "tm32b", "", ""},
    {"TM32C", "TM32C", "-mcpu=tm32b", BO::Little, "tm32b", "", ""},
};

constexpr CpuRow kZenta[] = {
    {"ZN600", "ZN600", "-mcpu=zn600", BO::Choice, "zn600", "", ""},
    {"ZN200", "ZN200", "-mcpu=zn200", BO::Choice, "zn200", "", ""},
};

constexpr CpuTable kTables[] = {
    {kCodeCorvo, kCorvo},       {kCodePelka, kPelka}, {kCodeTamsin16, kTamsin16},
    {kCodeTamsin32, kTamsin32}, {kCodeZenta, kZenta},
};

// A CPU value names one row in all the tables.
constexpr bool CpuValuesDistinct() {
    for (size_t t = 0; t < std::size(kTables); ++t)
        for (size_t u = t; u < std::size(kTables); ++u)
            for (size_t i = 0; i < kTables[t].rows.size(); ++i)
                for (size_t j = t == u ? i + 1 : 0; j < kTables[u].rows.size(); ++j)
                    if (kTables[t].rows[i].value == kTables[u].rows[j].value) return false;
    return true;
}
static_assert(CpuValuesDistinct(), "a CPU value is listed twice");
static_assert(AllDistinct(kTables, [](const CpuTable& t) { return t.familyCode; }));

constexpr FamilyOption kCorvoOptions[] = {
    {"Align doubles at 64-bit boundaries (-mdalign)", "-mdalign"},
    {"Shorten address references at link time (-mrelax)", "-mrelax"},
    {"Use 32-bit offsets in switch tables (instead of 16-bit) (-mbigtable)", "-mbigtable"},
    {"Use Morvath calling conventions rather than that for gcc (-mmorvath)", "-mmorvath"},
    {"Increase the IEEE-compliance of floating-point code (-mieee)", "-mieee"},
    {"Dump instruction size and location in the assembly code (-misize)", "-misize"},
    {"Pad structures to multiples of 4 bytes (-mpadstruct)(deprecated)", "-mpadstruct"},
    {"Optimize for space instead of speed (-mspace)", "-mspace"},
};

constexpr FamilyOption kPelkaOptions[] = {
    {"Use PK1 alignment rules (-malign-base)", "-malign-base"},
    {"Shorten address references at link time (-mrelax)", "-mrelax"},
    {"Enable normal mode (-mn)", "-mn"},
    {"Consider access to byte-sized memory slow (-mslowbyte)", "-mslowbyte"},
    {"Use registers for argument passing (-mquickcall)", "-mquickcall"},
    {"Make integers 32-bits wide (-mint32)", "-mint32"},
};

constexpr FamilyOption kZentaOptions[] = {
    {"Generate code for ZN610 (-mcpu=zn610)", "-mcpu=zn610"},
    {"Disable generation of Zenta hardware FPU instructions (-nofpu)", "-nofpu"},
    {"Generate position independent code and data (-mpid)", "-mpid"},
    {"Make the double datatype 64 bits wide (-m64bit-doubles)", "-m64bit-doubles"},
    {"Generate assembler output compatible with Morvath's Qasm assembler (-mqasm-syntax)",
     "-mqasm-syntax"},
    {"Enable linker relaxation (-mrelax)", "-mrelax"},
    {"Save and restore the accumulator register in interrupt functions "
     "(-msave-acc-in-interrupts)",
     "-msave-acc-in-interrupts"},
    {"Use conventional section names (--muse-conventional-section-names)",
     "-Wa,--muse-conventional-section-names"},
};

constexpr std::string_view kByteOrderPlain[] = {"Big", "Little"};
constexpr std::string_view kByteOrderZenta[] = {"Big-endian data", "Little-endian data"};
constexpr std::string_view kInterruptRegisters[] = {"None",    "R13",     "R12-R13",
                                                    "R11-R13", "R10-R13", "Default"};
constexpr std::string_view kMaxConstant[] = {"Default", "1-byte", "2-bytes", "3-bytes"};

} // namespace

std::span<const CpuTable> CpuTables() {
    return kTables;
}

const CpuTable* CpuTableFor(int familyCode) {
    for (const CpuTable& table : kTables)
        if (table.familyCode == familyCode) return &table;
    return nullptr;
}

const CpuRow* CpuRowAt(int familyCode, int row) {
    const CpuTable* table = CpuTableFor(familyCode);
    if (table == nullptr || row < 0 || static_cast<size_t>(row) >= table->rows.size())
        return nullptr;
    return &table->rows[static_cast<size_t>(row)];
}

int CpuRowCount(int familyCode) {
    const CpuTable* table = CpuTableFor(familyCode);
    return table == nullptr ? 0 : static_cast<int>(table->rows.size());
}

std::optional<CpuMatch> FindCpuType(std::string_view value) {
    for (const CpuTable& table : kTables)
        for (size_t i = 0; i < table.rows.size(); ++i)
            if (table.rows[i].value == value)
                return CpuMatch{table.familyCode, static_cast<int>(i)};
    return std::nullopt;
}

bool AllowsByteOrderChoice(int familyCode, int row) {
    const CpuRow* r = CpuRowAt(familyCode, row);
    return r != nullptr && r->byteOrder == ByteOrderRule::Choice;
}

int FixedByteOrder(int familyCode, int row) {
    const CpuRow* r = CpuRowAt(familyCode, row);
    if (r != nullptr && r->byteOrder == ByteOrderRule::Little) return kLittleEndian;
    if (r == nullptr && (familyCode == kCodeTamsin16 || familyCode == kCodeTamsin32))
        return kLittleEndian;
    return kBigEndian;
}

std::string_view PelkaOutputArch(int index) {
    if (index < 0 || index >= 10) return {};
    const CpuRow& row = kPelka[index / 2];
    return index % 2 == 0 ? row.archNormalOff : row.archNormalOn;
}

std::span<const FamilyOption> FamilyOptions(int familyCode) {
    switch (familyCode) {
    case kCodeCorvo:
        return kCorvoOptions;
    case kCodePelka:
        return kPelkaOptions;
    case kCodeZenta:
        return kZentaOptions;
    default:
        return {};
    }
}

Availability OptionAvailability(int familyCode, int row, int position) {
    if (familyCode == kCodePelka && (position == kPelkaNormalPos || position == kPelkaInt32Pos))
        return row == 0 ? Availability::DisabledCleared : Availability::Available;
    if (familyCode == kCodeZenta && row == 1) {
        if (position == kZentaCpuSelectPos) return Availability::DisabledCleared;
        if (position == kZentaNoFpuPos) return Availability::DisabledChecked;
    }
    return Availability::Available;
}

std::string MultilibSubdirectory(int familyCode, int row, int endianness,
                                 const FamilyFlags& familyFlags) {
    const CpuRow* r = CpuRowAt(familyCode, row);
    if (r == nullptr) return {};
    std::string m(r->multilib);
    auto add = [&m](std::string_view part) {
        // A leading separator is dropped when the column is empty.
        if (!m.empty()) m += '\\';
        m += part;
    };
    switch (familyCode) {
    case kCodeCorvo:
        if (r->byteOrder == ByteOrderRule::Choice && endianness == kLittleEndian) add("ml");
        break;
    case kCodePelka:
        if (familyFlags[kPelkaNormalPos]) add("normal");
        if (familyFlags[kPelkaInt32Pos]) add("int32");
        break;
    case kCodeZenta:
        if (familyFlags[kZentaDouble64Pos]) add("64-bit-double");
        break;
    default:
        break;
    }
    return m;
}

std::string CompilerLibraryPath(int familyCode, std::string_view multilib) {
    std::string path = LibraryDirectory(familyCode, 1);
    path += multilib;
    return path;
}

std::string TargetLibraryPath(int familyCode, std::string_view multilib) {
    std::string path = LibraryDirectory(familyCode, 0);
    if (!multilib.empty()) {
        path += '\\';
        path += multilib;
    }
    return path;
}

std::span<const std::string_view> ByteOrderLabels(int familyCode) {
    if (familyCode == kCodeZenta) return kByteOrderZenta;
    return kByteOrderPlain;
}

std::span<const std::string_view> InterruptRegisterLabels() {
    return kInterruptRegisters;
}

std::span<const std::string_view> MaxConstantLabels() {
    return kMaxConstant;
}

} // namespace quorle::toolchain
