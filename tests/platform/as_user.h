#pragma once
// Runs part of a test in a child process as another user. Only root can switch, so
// root runs such parts as "nobody" (root passes every permission check) and may use
// a second user; anyone else runs them as themself.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace quorlin::test {

inline const bool kRoot = geteuid() == 0;
inline const uid_t kUser = kRoot ? 65534 : geteuid();

// In a child only: ends it when the switch fails.
inline void becomeUser(uid_t uid)
{
    if (uid != geteuid() && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0))
        _exit(3);
}

// What `body` returned in a child running as `uid`; a child that fails or hangs
// (ended by an alarm after 10 s) gives its exit status instead.
inline std::string asUser(uid_t uid, const std::function<std::string()>& body)
{
    int out[2];
    if (pipe(out) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        alarm(10);
        becomeUser(uid);
        const std::string text = body();
        _exit(write(out[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 4);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "child ended: status " + std::to_string(status);
}

}  // namespace quorlin::test
