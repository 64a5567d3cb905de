#include "materials/ui/absorber_database_files.h"

#include "model/history_file.h"
#include "model/message.h"
#include "platform/interaction.h"

namespace tav {

bool loadAbsorberDatabase(Interaction& ui, AbsorberDatabase& database,
                          const std::string& programFolder) {
  FileDialogRequest request;
  request.title = ABSORBER_DB_OPEN_TITLE;
  request.filter = ABSORBER_DB_FILTER;
  request.folder = database.folder.empty() ? programFolder : database.folder;
  request.overwritePrompt = false;
  const std::optional<std::string> chosen = ui.openFileName(request);
  if (!chosen || chosen->empty()) return false;
  database.folder = folderOfPath(*chosen);

  const AbsorberDatabaseLoad load =
      loadAbsorberDatabaseFile(database, absorberDatabasePath(*chosen));
  if (!load.message.empty()) ui.showMessage(load.message.text, load.message.caption);
  return load.loaded;
}

bool saveAbsorberDatabase(Interaction& ui, AbsorberDatabase& database) {
  FileDialogRequest request;
  request.title = ABSORBER_DB_SAVE_TITLE;
  request.filter = ABSORBER_DB_FILTER;
  request.folder = database.folder;
  request.fileName = database.path;
  request.defaultExtension = "TAB";
  request.overwritePrompt = true;
  const std::optional<std::string> chosen = ui.saveFileName(request);
  if (!chosen || chosen->empty()) return false;
  if (!saveAbsorberDatabaseFile(database, absorberDatabasePath(*chosen))) {
    ui.showMessage(MSG_CANT_WRITE_FILE);
    return false;
  }
  return true;
}

void restoreAbsorberFolder(AbsorberDatabase& database, const History& history) {
  if (!history.absorberDatabasePath.empty())
    database.folder = folderOfPath(history.absorberDatabasePath);
}

void rememberAbsorberDatabase(History& history, const AbsorberDatabase& database) {
  if (database.loaded()) history.absorberDatabasePath = database.path;
}

}  // namespace tav
