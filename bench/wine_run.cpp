#include "bench/wine_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace varnock::bench {

std::optional<WineRun> WineRun::FromEnvironment() {
  const char* build = std::getenv("VARNOCK_WINDOWS_BUILD");
  if (build == nullptr || *build == '\0') {
    return std::nullopt;
  }
  return WineRun(std::filesystem::absolute(build).string());
}

std::string WineRun::WindowsPath(const std::string& path) {
  std::string windows = "Z:" + std::filesystem::absolute(path).string();
  for (char& c : windows) {
    c = c == '/' ? '\\' : c;
  }
  return windows;
}

std::optional<std::string> WineRun::Run(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::vector<std::string>& variables) const {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    environment.emplace_back(*variable);
  }
  environment.push_back("WINEPREFIX=" + build_ + "/wineprefix");
  environment.emplace_back("WINEDEBUG=-all");
  environment.emplace_back("WINEDLLOVERRIDES=mscoree,mshtml=");
  environment.insert(environment.end(), variables.begin(), variables.end());
  std::vector<char*> envp;
  for (std::string& variable : environment) {
    envp.push_back(variable.data());
  }
  envp.push_back(nullptr);
  std::vector<std::string> words{"/usr/bin/wine", program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  int output[2];
  if (pipe(output) != 0) {
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  posix_spawn_file_actions_addclose(&actions, output[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  close(output[0]);
  int status = 0;
  if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  return text;
}

}  // namespace varnock::bench
