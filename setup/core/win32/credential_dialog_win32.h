#pragma once
// The credential prompt of the downloads: a dialog asking for a user name and a password when a
// server (HTTP 401, an FTP login) or a proxy (HTTP 407) demands them, and a store of what the
// servers accepted during this run, so that the next download from the same server and realm is
// not asked again. Called on a download's worker thread; a quiet run never reaches Ask.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "download_sink.h"

namespace maglorin {

class CredentialDialogPrompt final : public CredentialPrompt {
public:
    // `texts`: the chosen language's string table (null: the built-in English texts).
    explicit CredentialDialogPrompt(std::function<std::u16string(int id)> texts = nullptr) : texts_(std::move(texts)) {}

    [[nodiscard]] bool Find(const std::u16string& server, const std::u16string& realm, Credentials& found) override;
    [[nodiscard]] bool Ask(const std::u16string& server, const std::u16string& realm, const void* ownerWindow,
                           Credentials& answer) override;
    void Remember(const std::u16string& server, const std::u16string& realm, const Credentials& accepted) override;

private:
    std::function<std::u16string(int id)> texts_;
    std::map<std::pair<std::u16string, std::u16string>, Credentials> accepted_;  // by server and realm
};

// The dialog alone: modal over `owner` (may be null), user name prefilled from `answer`. False
// when the user cancels.
[[nodiscard]] bool AskForCredentials(HWND owner, const std::u16string& caption, const std::u16string& text,
                                     const std::function<std::u16string(int id)>& texts, Credentials& answer);

}  // namespace maglorin
