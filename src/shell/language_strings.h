#pragma once
// The nine interface strings of each language, by the index the window uses
// (0 caption, 1 status label, 2 connected, 3 disconnected, 4 default button,
// 5 brightness label, 6 breathing label, 7 manual, 8 auto).

#include <array>
#include <cstddef>
#include <string_view>

namespace quorlin {

inline constexpr std::size_t kLanguageStringCount = 9;
using LanguageStrings = std::array<std::string_view, kLanguageStringCount>;

const LanguageStrings& englishStrings();
const LanguageStrings& japaneseStrings();

// The languages the window speaks, for the texts beyond the nine.
enum class UiLanguage { English, Japanese };

// Why the light is not connected, as the connection display's tooltip says it. Why a
// listed light did not open depends on the system: OpenFailureAdvice::windowHint.
struct LinkReasonStrings {
    std::string_view noLight;
    std::string_view launcherRunning;
};
const LinkReasonStrings& linkReasonStrings(UiLanguage language);

}  // namespace quorlin
