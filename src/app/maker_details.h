#pragma once
// Who makes the program and how to reach them; shown in the maker-contact window and the
// built-in help text, and the web address opened from the side menu.

namespace movarek {

inline constexpr char kMakerName[] = "Vertanix";
inline constexpr char kMakerTagline[] = "Software pro každý den";
inline constexpr char kMakerWebAddress[] = "www.vertanix.cz";
inline constexpr char kMakerWebUrl[] = "http://www.vertanix.cz/";
inline constexpr char kMakerEmail[] = "info@vertanix.cz";
inline constexpr char kMakerTelephone[] = "+420 545 123 456";
inline constexpr char kMakerAddress[] = "Vertanix s.r.o., Kounicova 12, 602 00 Brno";

}  // namespace movarek
