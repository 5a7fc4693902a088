#pragma once
#include "EngineDatabase.h"
#include "PasswordList.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TableFilesAhead;

// The engine session. It resolves aliases through its own configuration
// file (see EngineConfig) and opens databases.
class StorageEngine {
public:
    virtual ~StorageEngine() = default;
    virtual const std::string& sessionName() const = 0;  // "Default"
    virtual EngineStatus openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out) = 0;
    // Starts opening the tables of the alias in the background, so that
    // the databases this session opens there find them open while the
    // caller keeps what this returns (null when nothing is opened ahead). A
    // hint only: nothing is reported, and whatever could not be opened ahead
    // is opened as usual.
    virtual std::shared_ptr<TableFilesAhead> openAhead(const std::string& /*alias*/,
                                                       const std::vector<std::string>& /*tableNames*/)
    {
        return nullptr;
    }

    // The one default session, started on first use. Throws EDBEngineError
    // (the initialization message) when the engine cannot start.
    static StorageEngine& defaultSession();

    // The passwords given in this session, tried when a database server asks
    // for one (see PasswordRequired).
    PasswordList& passwords() { return passwords_; }

    // Asks the user for a password when a database wants one the session
    // lacks: true when the open should be tried again (the prompt has added
    // to the list), false when the user gave up. The program installs its
    // "Enter password" window here; without a prompt nobody is asked.
    using PasswordPrompt = std::function<bool(PasswordList&)>;
    void setPasswordPrompt(PasswordPrompt prompt) { prompt_ = std::move(prompt); }
    bool askForPassword() { return prompt_ && prompt_(passwords_); }
    // openDatabase, asking for passwords as long as the database wants one
    // and the user goes on giving them.
    EngineStatus openDatabaseAsking(const std::string& alias, std::unique_ptr<EngineDatabase>& out)
    {
        return asking([&] { return openDatabase(alias, out); });
    }
    // Runs open, and again as long as it wants a password and the user goes
    // on giving them.
    EngineStatus asking(const std::function<EngineStatus()>& open)
    {
        EngineStatus status = open();
        while (status.code == EngineCode::PasswordRequired && askForPassword())
            status = open();
        return status;
    }

    // Where opening a database of an older shape tells that it upgrades it,
    // a line at a time (SchemaUpgrade); without one, on standard error.
    using UpgradeNotice = std::function<void(const std::string&)>;
    void setUpgradeNotice(UpgradeNotice notice) { notice_ = std::move(notice); }
    void tellUpgrade(const std::string& line);
    // Whether openDatabase upgrades (on by default). Off for looking at a
    // database as it is: `check`, `upgrade --dry-run`.
    bool upgradesOnOpen() const { return upgradesOnOpen_; }
    void setUpgradesOnOpen(bool on) { upgradesOnOpen_ = on; }

private:
    PasswordList passwords_;
    PasswordPrompt prompt_;
    UpgradeNotice notice_;
    bool upgradesOnOpen_ = true;
};
