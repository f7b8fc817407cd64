#pragma once

#include <ostream>

#include "Arguments.h"
#include "Server.h"

namespace nwsim {

struct ToolContext {
  Server& server;
  std::ostream& out;
};

// Each command takes all its arguments (throwing UsageError) before it
// touches the server folder.
void CreateCommand(ToolContext& tool, Arguments& args);
void AddServerCommand(ToolContext& tool, Arguments& args);
void PrimaryCommand(ToolContext& tool, Arguments& args);
void AddVolumeCommand(ToolContext& tool, Arguments& args);
void AddUserCommand(ToolContext& tool, Arguments& args);
void LoginCommand(ToolContext& tool, Arguments& args);
void MapCommand(ToolContext& tool, Arguments& args);
void FirstDriveCommand(ToolContext& tool, Arguments& args);
void RightsCommand(ToolContext& tool, Arguments& args);
void ClockCommand(ToolContext& tool, Arguments& args);
void ShowCommand(ToolContext& tool, Arguments& args);

void PutCommand(ToolContext& tool, Arguments& args);
void DeleteCommand(ToolContext& tool, Arguments& args);
void ListCommand(ToolContext& tool, Arguments& args);
void PurgeCommand(ToolContext& tool, Arguments& args);
void GenerateCommand(ToolContext& tool, Arguments& args);
void FaultCommand(ToolContext& tool, Arguments& args);

void DemoCommand(ToolContext& tool, Arguments& args);

// The ID of the bindery object of that name; throws when there is none.
uint32_t ObjectIdOf(Server& server, const std::string& name);

}  // namespace nwsim
