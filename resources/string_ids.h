// Names for the numbered module strings in resources/string_table.inc.
// Code refers to a string only through these names.
#pragma once

namespace quorle::strings {

inline constexpr int kInterfaceMajorVersion = 1;
inline constexpr int kInterfaceMinorVersion = 2;
inline constexpr int kProductVersion = 3;
inline constexpr int kOrdinalVersion = 4;
inline constexpr int kPluginType = 5;
inline constexpr int kFileTypes = 11;
inline constexpr int kExtraToolList = 15;
inline constexpr int kCompilerExtension = 17; // "gcc"
inline constexpr int kDisplayPhaseStart = 24;
inline constexpr int kDisplayFileStart = 25;
inline constexpr int kDisplayStepStart = 26;
inline constexpr int kDisplayStepEnd = 27;
inline constexpr int kDisplayFileEnd = 28;
inline constexpr int kDisplayPhaseEnd = 29;
inline constexpr int kCompilerBanners = 35;
inline constexpr int kEmptyList = 36;
inline constexpr int kCodeNavigationItems = 38;
inline constexpr int kTemporaryBanner = 42;
inline constexpr int kCommandPrefix = 43; // "@"
inline constexpr int kToolchainCorvo = 50;
inline constexpr int kToolchainPelka = 51;
inline constexpr int kToolchainTamsin = 52;
inline constexpr int kToolchainZenta = 53;
inline constexpr int kToolchainGeneric = 54;
inline constexpr int kOptionModified = 1527;
inline constexpr int kIntegerRange = 1532;
inline constexpr int kIntegerExpected = 1533;
inline constexpr int kDialogUnavailable = 1561;
inline constexpr int kKeepWithNoload = 2006;
inline constexpr int kGarbageCollectionInfo = 2007;
inline constexpr int kSectionExportFailed = 2009;
inline constexpr int kSectionPlaceholdersLeft = 2011;
inline constexpr int kLabelNameMissing = 2013;
inline constexpr int kAddressMissing = 2014;
inline constexpr int kCustomLinkageUnsupported = 2015;

} // namespace quorle::strings
