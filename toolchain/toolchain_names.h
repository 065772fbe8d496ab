// The toolchain names the host IDE passes in the project information record.
// Every comparison with one of them goes through these, so a name is spelt
// in one place.
#pragma once

namespace quorle::toolchain {

inline constexpr char kCorvoToolchain[] = "Dravik GNUCORVO [ELF]";
inline constexpr char kPelkaToolchain[] = "Dravik GNUPELKA [ELF]";
inline constexpr char kTamsinToolchain[] = "Dravik GNUTAMSIN [ELF]";
inline constexpr char kZentaToolchain[] = "Dravik GNUZENTA [ELF]";
// The effective names of the two Tamsin cores (16-bit A, 32-bit B).
inline constexpr char kTamsinAToolchain[] = "Dravik GNUTAMSINA [ELF]";
inline constexpr char kTamsinBToolchain[] = "Dravik GNUTAMSINB [ELF]";

} // namespace quorle::toolchain
