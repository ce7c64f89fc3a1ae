// What every command of tavrel-tool shares: running against the image with its failures
// reported, and reading team and design arguments with a refusal when they name nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game/game_image.h"
#include "journal/image_session.h"
#include "tool/command_line.h"
#include "tool/tool_text.h"
#include "walk/sector_walk.h"

namespace tavrel::tool {

// Runs `command`; a FileError is reported on `err` and gives its exit status, and any other
// failure (a fault of the program) is reported as an internal error.
int guarded(Streams io, const std::function<int()>& command);

// Runs `command` on the image open with `access` (its change log telling on `err` what
// recovery did), through `guarded`; after a writer's command, warns when a change could not go
// through the log.
int withImage(const std::string& path, ImageAccess access, Streams io,
              const std::function<int(ImageSession&)>& command);

// The --force of a command that writes into the image: it writes also into one that does not
// look like the game.
void addForceFlag(CLI::App& command, bool& force);

// True when the command may write into the open image: it passes the game check, or `force`
// (then a warning names what failed). Otherwise the refusal and its reasons are on `err`.
bool mayWrite(const ImageSession& session, bool force, Streams io);

// "verifica  42%" on stderr, redrawn in place, when stderr is a terminal; none otherwise.
VerifyProgress progressBar(const char* what, Streams io);

// Reports `message` on `err`; returns kRefused.
int refuse(Streams io, const std::string& message);

// The team or catalog id an argument names, or none after a refusal on `err`.
std::optional<int> teamArgument(const std::string& text, Streams io);
std::optional<int> designArgument(const std::string& text, Streams io);
// Runs `command` on the flag of the team `team` names, read from the image at `path`; refuses
// a team without colours of its own, naming it, with `why` ("non c'è nulla da disegnare").
int withTeamFlag(const std::string& path, const std::string& team, const char* why, Streams io,
                 const std::function<int(int team, const Flag& flag)>& command);

}  // namespace tavrel::tool
