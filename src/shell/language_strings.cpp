#include "shell/language_strings.h"

namespace quorlin {

const LanguageStrings& englishStrings()
{
    static constexpr LanguageStrings strings{
        "Quorlin Sivane Setting Tool V2.3",
        "Connection Status:",
        "[Connected]",
        "[Disconnected]",
        "Default",
        "Brightness Level:",
        "Light Breathing Frequency:",
        "Manual",
        "Auto",
    };
    return strings;
}

// UTF-8; the colons are plain ASCII, as the labels are laid out for them.
const LanguageStrings& japaneseStrings()
{
    static constexpr LanguageStrings strings{
        "Quorlin Sivane 設定ツール V2.3",
        "接続状態:",
        "[接続済み]",
        "[接続されていません]",
        "既定値",
        "明るさのレベル:",
        "光の点滅頻度:",
        "手動",
        "自動",
    };
    return strings;
}

}  // namespace quorlin
