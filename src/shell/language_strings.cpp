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

const LinkReasonStrings& linkReasonStrings(UiLanguage language)
{
    static constexpr LinkReasonStrings english{
        "No light found. Plug the light in; the window connects by itself.",
        "The other lighting program (SignalRgbLauncher.exe) is running. Close it to use the light here.",
    };
    static constexpr LinkReasonStrings japanese{
        "ライトが見つかりません。ライトを接続すると、自動的に接続されます。",
        "別の照明プログラム (SignalRgbLauncher.exe) が実行中です。ここでライトを使うには、それを終了してください。",
    };
    return language == UiLanguage::Japanese ? japanese : english;
}

}  // namespace quorlin
