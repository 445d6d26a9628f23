#pragma once
// The language dispatcher: switches every registered translation component
// together. Main thread only, except TestMode, which look-ups read.
#include "classes/Strings.h"
#include "localization/LxcompLang.h"

#include <atomic>
#include <memory>
#include <vector>

class TLXBFileManager;
class TStream;

class TlxLangDispatcher : public TComponent {
    YORDE_CLASS(TlxLangDispatcher, TComponent)
public:
    explicit TlxLangDispatcher(TComponent* AOwner);
    // Detaches every registered component, last first.
    ~TlxLangDispatcher() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Registers Lang (once, at the end) and brings it to the dispatcher's languages.
    void AddReference(TlxCustomLang* Lang);
    void RemovePossibleReference(TlxCustomLang* Lang);
    TlxCustomLang* GetLxLangs(int Index) const;  // EListError out of range
    int GetLxLangsCount() const { return int(langs_.size()); }

    int ActiveLanguage() const { return activeLanguage_; }
    // Checks the value against every registered component before any changes.
    void SetActiveLanguage(int Value);
    int NumOfLanguages() const { return numOfLanguages_; }
    void SetNumOfLanguages(int Value);
    TStrings* LangNames() const { return langNames_.get(); }
    void SetLangNames(TStrings* Value);
    const AnsiString& Language() const { return language_; }
    // By name; the names are searched without regard to case.
    void SetLanguage(const AnsiString& Value);
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    TLinkToDispatcherEvent OnLinkToDispatcher;
    void SetOnLinkToDispatcher(TLinkToDispatcherEvent Value) { OnLinkToDispatcher = std::move(Value); }
    bool TestMode() const { return testMode_.load(std::memory_order_acquire); }
    void SetTestMode(bool Value) { testMode_.store(Value, std::memory_order_release); }
    // Made when a component registers while FileName names an LXB file.
    TLXBFileManager* BinaryFileManager() const { return binaryManager_.get(); }

    // Translation files for every registered component, in registration
    // order; afterwards the languages are the first component's.
    void LoadAllFromFile(const AnsiString& AFileName);
    // Each component reads from where the stream stood at the call.
    void LoadAllFromStream(TStream* Stream);
    void SaveAllToFile(const AnsiString& AFileName, const AnsiString& Second);
    void SaveAllToBinaryFile(const AnsiString& AFileName);

private:
    bool isLoading() const { return ComponentState().Contains(csLoading); }
    void takeFirstLanguages();

    std::vector<TlxCustomLang*> langs_;
    int activeLanguage_ = 1;
    int numOfLanguages_ = 1;
    AnsiString language_;
    std::unique_ptr<TStringList> langNames_;
    AnsiString fileName_;
    std::atomic<bool> testMode_{false};
    std::unique_ptr<TLXBFileManager> binaryManager_;
};
