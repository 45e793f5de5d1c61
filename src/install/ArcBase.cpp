#include "install/ArcBase.h"

#include <map>

namespace tc {

namespace {

using CommandFn = int(TC_ARCHIVER_CALL*)(void* owner, const char* command, char* output, std::uint32_t size);
using QueryFn = int(TC_ARCHIVER_CALL*)(int number);
using NoArgumentFn = int(TC_ARCHIVER_CALL*)();
using CheckFn = int(TC_ARCHIVER_CALL*)(const char* archive, int mode);
using CountFn = int(TC_ARCHIVER_CALL*)(const char* archive);
using OpenFn = void*(TC_ARCHIVER_CALL*)(void* owner, const char* archive, std::uint32_t mode);
using HandleFn = int(TC_ARCHIVER_CALL*)(void* archive);
using NameFn = int(TC_ARCHIVER_CALL*)(void* archive, char* buffer, int size);

const char* Prefix(int kind) {
    switch (kind) {
    case kArcLzh: return "Unlha";
    case kArcZip: return "UnZip";
    case kArcArj: return "UnArj";
    case kArcTar: return "Tar";
    case kArcCab: return "Cab";
    case kArcIsh: return "Ish";
    default: return "";
    }
}

const char* FunctionName(int number) {
    static const std::map<int, const char*> kNames = {
        {1, "GetVersion"}, {2, "GetCursorInterval"}, {3, "SetCursorInterval"}, {4, "GetBackGroundMode"},
        {5, "SetBackGroundMode"}, {6, "GetCursorMode"}, {7, "SetCursorMode"}, {8, "GetRunning"},
        {16, "CheckArchive"}, {17, "ConfigDialog"}, {18, "GetFileCount"}, {19, "QueryFunctionList"},
        {23, "OpenArchive"}, {24, "CloseArchive"}, {25, "FindFirst"}, {26, "FindNext"},
        {40, "GetArcFileName"}, {41, "GetArcFileSize"}, {42, "GetArcOriginalSize"}, {43, "GetArcCompressedSize"},
        {44, "GetArcRatio"}, {45, "GetArcDate"}, {46, "GetArcTime"}, {47, "GetArcOSType"}, {48, "IsSFXFile"},
        {57, "GetFileName"}, {58, "GetOriginalSize"}, {59, "GetCompressedSize"}, {60, "GetRatio"},
        {61, "GetDate"}, {62, "GetTime"}, {63, "GetCRC"}, {64, "GetAttribute"}, {65, "GetOSType"},
        {66, "GetMethod"}, {67, "GetWriteTime"}, {68, "GetAccessTime"}, {69, "GetCreateTime"},
        {101, "SetOwnerWindow"}, {102, "ClearOwnerWindow"}, {103, "SetOwnerWindowEx"}, {104, "KillOwnerWindowEx"},
    };
    const auto it = kNames.find(number);
    return it == kNames.end() ? "" : it->second;
}

std::string Filled(const char* format, const std::string& value) {
    std::string text = format;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

}  // namespace

std::string ArcLibraryName(int kind) {
    switch (kind) {
    case kArcLzh: return "UNLHA32.DLL";
    case kArcZip: return "UNZIP32.DLL";
    case kArcArj: return "UNARJ32J.DLL";
    case kArcTar: return "TAR32.DLL";
    case kArcCab: return "CAB32.DLL";
    case kArcIsh: return "ISH32.DLL";
    default: return std::string();
    }
}

std::string ArcEntryPointName(int kind, int number) {
    if (number == 0) return kind == kArcIsh ? "IshEx" : Prefix(kind);
    return std::string(Prefix(kind)) + FunctionName(number);
}

std::pair<std::string, bool> ArcErrorMessage(int code, const std::string& libraryName) {
    static const std::map<int, const char*> kMessages = {
        {0, "エラーはありません"},
        {0x8005, "解凍する為のディスクの空きが足りません。"},
        {0x8006, "解凍先のファイルはリードオンリーです。"},
        {0x8007, "ユーザーによって解凍をスキップされました。"},
        {0x800C, "格納ファイルのチェックサムが合っていません。"},
        {0x800D, "解凍時にファイルを開けませんでした。"},
        {0x800E, "より新しいファイルが解凍先に存在しています。"},
        {0x800F, "ファイルは解凍先に存在していません。"},
        {0x8012, "ディレクトリが作成できません。"},
        {0x8013, "解凍中に書き込みエラーが生じました。"},
        {0x8014, "書庫ファイルのハフマンコードが壊れています。"},
        {0x8015, "書庫ファイルのコメントヘッダが壊れています。"},
        {0x8016, "書庫ファイルのヘッダのチェックサムが合っていません。"},
        {0x8017, "書庫ファイルのヘッダが壊れています。"},
        {0x8018, "書庫ファイルを開く事が出来ません。"},
        {0x8019, "書庫ファイル名の指定がされていません。"},
        {0x801A, "書庫ファイルの読み込み時に読み込みエラーが出ました。"},
        {0x801B, "指定されたファイルは 書庫ファイルではありません。"},
        {0x801C, "コマンド指定が間違っています。"},
        {0x801D, "作業用のためのヒープメモリが不足しています。"},
        {0x801E, "グローバルメモリが不足しています。"},
        {0x801F, "既に DLL が動作中です。"},
        {0x8020, "ユーザーによって解凍を中断されました。"},
        {0x8021, "OpenArchive() で書庫ファイルとハンドルを関連付ける前に \nFindFirst() 等の API を使用しました。"},
        {0x8022, "FindFirst() を使用する前に FindNext() が呼ばれました。\nまたは，これらを呼び出す前に GetFileName() 等の API が呼ばれました。"},
        {0x8023, "DLLでサポートされていない API が使用されました。"},
        {0x8024, "日付及び時間の指定形式が間違っています。"},
        {0x8025, "作業ファイルがオープンできません。"},
        {0x8026, "ディレクトリのパスが長すぎます。"},
        {0x8027, "書き込み専用属性の書庫ファイルに対する操作はできません。"},
        {0x8028, "すでに同じ名前のファイルが書庫に格納されています。"},
        {0x8029, "指定されたディレクトリには書庫ファイルがありませんでした。"},
        {0x802A, "レスポンスファイルの読み込み時にエラーが発生しました。"},
        {0x802B, "ファイル名の指定が必要です。"},
        {0x8043, "指定されたﾌｧﾝｸｼｮﾝが呼び出せません。"},
    };
    if (code == kArcErrorLoad) return {Filled("%sが見つからないか、ロードできません。", libraryName), true};
    const auto it = kMessages.find(code);
    if (it != kMessages.end()) return {it->second, true};
    return {"未知のエラーです． ERROR[" + std::to_string(code) + "]", false};
}

bool IsArchiverAvailable(Libraries& libraries, const std::string& libraryName) {
    const NativeHandle module = libraries.Load(libraryName);
    if (!module) return false;
    libraries.Free(module);
    return true;
}

CArcBase::CArcBase(Libraries& libraries, Controls& controls, NativeHandle owner, int kind,
                   const std::string& archiveName)
    : m_dllName(ArcLibraryName(kind)),
      m_kind(kind),
      m_archiveName(archiveName),
      m_hOwner(owner),
      m_libraries(libraries),
      m_controls(controls) {}

CArcBase::~CArcBase() {
    CloseArchive();
    if (m_hModule) m_libraries.Free(m_hModule);
}

void CArcBase::Handle(CArcException& failure, const std::string& text) {
    if (m_showErrors && !failure.m_reported) {
        failure.m_reported = true;
        m_controls.ShowMessage(m_hOwner, text);
    }
    if (m_rethrow) throw failure;
}

NativeHandle CArcBase::LoadDll() {
    if (m_hModule) return m_hModule;
    try {
        m_hModule = m_libraries.Load(m_dllFolder + m_dllName);
        if (!m_hModule) ThrowError(kArcErrorLoad, "LoadDll");
    } catch (CArcException& failure) {
        Handle(failure, failure.m_message);
    }
    return m_hModule;
}

void* CArcBase::GetFunction(int number) {
    if (!LoadDll()) return nullptr;
    const std::string name = ArcEntryPointName(m_kind, number);
    if (!QueryFunctionList(number)) return nullptr;
    try {
        void* function = m_libraries.Find(m_hModule, name);
        if (!function) ThrowError(kArcErrorFunction, name);
        return function;
    } catch (CArcException& failure) {
        Handle(failure, Filled("%s()が呼び出せません．\n", name));
    }
    return nullptr;
}

void CArcBase::ThrowError(int code, const std::string& functionName) {
    throw CArcException(ErrorMessage(code).first, functionName, code);
}

bool CArcBase::IsAvailable() { return IsArchiverAvailable(m_libraries, m_dllFolder + m_dllName); }

void CArcBase::UnloadDll() {
    CloseArchive();
    if (m_hModule) m_libraries.Free(m_hModule);
    m_hModule = 0;
}

std::pair<std::string, bool> CArcBase::ErrorMessage(int code) { return ArcErrorMessage(code, m_dllName); }

int CArcBase::Command(NativeHandle owner, const std::string& commandLine, char* output, std::uint32_t size) {
    if (output && size) std::fill(output, output + size, '\0');
    const auto command = Function<CommandFn>(0);
    if (!command) return kArcErrorFunction;
    const int result = command(reinterpret_cast<void*>(owner), commandLine.c_str(), output, size);
    if (output && size && output[size - 1] != '\0') output[size - 1] = '\0';
    return result;
}

int CArcBase::GetVersion() {
    const auto function = Function<NoArgumentFn>(1);
    return function ? function() : 0;
}

int CArcBase::GetRunning() {
    const auto function = Function<NoArgumentFn>(8);
    return function ? function() : 0;
}

int CArcBase::CheckArchive(const std::string& archiveName, int mode) {
    const auto function = Function<CheckFn>(16);
    return function ? function((archiveName.empty() ? m_archiveName : archiveName).c_str(), mode) : 0;
}

int CArcBase::GetFileCount(const std::string& archiveName) {
    const auto function = Function<CountFn>(18);
    return function ? function((archiveName.empty() ? m_archiveName : archiveName).c_str()) : 0;
}

bool CArcBase::QueryFunctionList(int number) {
    if (!LoadDll()) return false;
    if (m_kind == kArcIsh) return (number >= 0 && number <= 8) || number == 16 || number == 17;
    if (number >= 101 && number <= 104) return true;
    const std::string name = ArcEntryPointName(m_kind, 19);
    try {
        const auto query =
            reinterpret_cast<QueryFn>(reinterpret_cast<std::uintptr_t>(m_libraries.Find(m_hModule, name)));
        if (!query) ThrowError(kArcErrorFunction, name);
        return query(number) != 0;
    } catch (CArcException& failure) {
        Handle(failure, Filled("%s()が呼び出せません．\n", name));
    }
    return false;
}

NativeHandle CArcBase::OpenArchive(unsigned mode) {
    if (m_hArc) return m_hArc;
    try {
        if (m_archiveName.empty()) ThrowError(kArcErrorNoFileName, "OpenArchive");
    } catch (CArcException& failure) {
        Handle(failure, "書庫ファイルが指定されていません");
        return 0;
    }
    const auto open = Function<OpenFn>(23);
    if (!open) return 0;
    m_hArc = reinterpret_cast<NativeHandle>(open(reinterpret_cast<void*>(m_hOwner), m_archiveName.c_str(), mode));
    return m_hArc;
}

int CArcBase::CloseArchive() {
    if (!m_hArc) return 0;
    const auto close = Function<HandleFn>(24);
    const NativeHandle archive = std::exchange(m_hArc, 0);
    return close ? close(reinterpret_cast<void*>(archive)) : 0;
}

int CArcBase::GetFileName(char* buffer, int size) {
    if (!OpenArchive(1)) return -1;
    const auto function = Function<NameFn>(57);
    return function ? function(reinterpret_cast<void*>(m_hArc), buffer, size) : -1;
}

int CArcBase::GetOriginalSize() {
    if (!OpenArchive(1)) return -1;
    const auto function = Function<HandleFn>(58);
    return function ? function(reinterpret_cast<void*>(m_hArc)) : -1;
}

}  // namespace tc
