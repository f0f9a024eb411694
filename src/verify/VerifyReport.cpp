#include "verify/VerifyReport.h"

#include <cstdio>

#include "verify/Utf.h"

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char ch : AsUtf8(text)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

// A JSON object written member by member, in order.
class JsonObject {
public:
    JsonObject& Text(const char* name, const std::string& value) { return Raw(name, Quoted(value)); }
    JsonObject& Number(const char* name, long long value) { return Raw(name, std::to_string(value)); }
    JsonObject& Bool(const char* name, bool value) { return Raw(name, value ? "true" : "false"); }
    JsonObject& Raw(const char* name, const std::string& json) {
        text_ += (text_.empty() ? "{" : ", ") + Quoted(name) + ": " + json;
        return *this;
    }
    std::string Done() const { return text_.empty() ? "{}" : text_ + "}"; }

private:
    std::string text_;
};

template <typename T, typename Fn>
std::string Array(const std::vector<T>& items, Fn json) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ",\n    " : "\n    ") + json(items[i]);
    return out + (items.empty() ? "]" : "\n  ]");
}

std::string ValueJson(const InstalledValue& v) {
    return JsonObject().Text("key", v.key).Text("name", v.name).Text("type", v.type).Text("data", v.data).Done();
}

std::string PathJson(const std::string& path) { return Quoted(path); }

std::string StepsLine(const VerifyStep& s) {
    std::string code = s.started ? std::to_string(s.exitCode) : std::string("not started");
    if (s.exitCode == 3010) code += " (restart needed)";
    char line[256];
    std::snprintf(line, sizeof line, "  %-18s exit %-22s %7s s\n", s.name.c_str(), code.c_str(), Seconds(s.seconds).c_str());
    return line;
}

}  // namespace

int VerifyExitCode(const VerifyResult& result) {
    if (!result.ran) return 2;
    return result.findings.empty() ? 0 : 1;
}

std::string VerifySummary(const VerifyResult& r) {
    std::string out;
    out += "Setup:   " + r.setup + "\n";
    if (!r.oldSetup.empty()) out += "Over:    " + r.oldSetup + "\n";
    if (!r.project.empty()) out += "Project: " + r.project + "\n";
    out += "\n";
    for (const VerifyStep& s : r.steps) out += StepsLine(s);
    auto row = [&](const char* what, size_t installed, const std::string& left) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-18s %9zu %9s\n", what, installed, left.c_str());
        out += line;
    };
    out += "\n  What                installed      left\n";
    const bool uninstalled = r.steps.size() > 0 && r.steps.back().name == "uninstall";
    auto left = [&](size_t n) { return uninstalled ? std::to_string(n) : std::string("-"); };
    row("files", r.files.size(), left(r.leftFiles.size()));
    row("folders", r.folders.size(), left(r.leftFolders.size()));
    row("shortcuts", r.shortcuts.size(), "-");
    row("registry keys", r.keys.size(), left(r.leftKeys.size()));
    row("registry values", r.values.size(), left(r.leftValues.size()));
    row("file types", r.fileTypes.size(), "-");
    out += "  uninstall entry    " + (r.uninstallKey.empty() ? std::string("none") : r.uninstallKey) + "\n";
    for (const InstalledShortcut& s : r.shortcuts) {
        out += "  shortcut " + s.path + "\n           -> ";
        out += s.internet ? s.url : s.link.target + (s.link.arguments.empty() ? "" : " " + s.link.arguments) +
                                        (s.link.workingFolder.empty() ? "" : "  (in " + s.link.workingFolder + ")");
        out += "\n";
    }
    for (const InstalledFileType& t : r.fileTypes) out += "  file type " + t.extension + " (" + t.identifier + "): " + t.openCommand + "\n";
    out += "\n";
    if (!r.ran) return out + "Could not verify: " + r.problem + "\n";
    for (const VerifyFinding& f : r.findings) out += f.kind + ": " + f.subject + ": " + f.detail + "\n";
    if (r.findings.empty())
        out += "Clean: installed and uninstalled without findings";
    else
        out += std::to_string(r.findings.size()) + (r.findings.size() == 1 ? " finding" : " findings");
    out += " (" + std::to_string(r.allowed) + " changes of Wine's own not counted)\n";
    return out;
}

std::string VerifyJson(const VerifyResult& r) {
    JsonObject doc;
    doc.Number("schema", 1).Text("setup", r.setup).Text("oldSetup", r.oldSetup).Text("project", r.project);
    doc.Text("result", !r.ran ? "not-run" : r.findings.empty() ? "clean" : "findings").Number("exitCode", VerifyExitCode(r));
    doc.Text("problem", r.problem);
    doc.Raw("steps", Array(r.steps, [](const VerifyStep& s) {
        return JsonObject().Text("name", s.name).Text("command", s.command).Bool("started", s.started)
            .Number("exitCode", s.exitCode).Raw("seconds", Seconds(s.seconds)).Done();
    }));
    doc.Raw("files", Array(r.files, [](const InstalledFile& f) {
        return JsonObject().Text("path", f.path).Number("size", static_cast<long long>(f.size)).Text("sha256", f.sha256).Done();
    }));
    doc.Raw("folders", Array(r.folders, PathJson));
    doc.Raw("shortcuts", Array(r.shortcuts, [](const InstalledShortcut& s) {
        JsonObject o;
        o.Text("path", s.path).Bool("internet", s.internet);
        if (s.internet) return o.Text("url", s.url).Done();
        return o.Text("target", s.link.target).Text("arguments", s.link.arguments).Text("workingFolder", s.link.workingFolder)
            .Text("icon", s.link.iconLocation).Number("iconIndex", s.link.iconIndex).Number("showCommand", s.link.showCommand)
            .Bool("targetExists", s.targetExists).Done();
    }));
    doc.Raw("keys", Array(r.keys, PathJson));
    doc.Raw("values", Array(r.values, ValueJson));
    doc.Raw("fileTypes", Array(r.fileTypes, [](const InstalledFileType& t) {
        return JsonObject().Text("extension", t.extension).Text("identifier", t.identifier).Text("description", t.description)
            .Text("openCommand", t.openCommand).Done();
    }));
    doc.Text("uninstallKey", r.uninstallKey).Raw("uninstallEntry", Array(r.uninstallEntry, ValueJson));
    doc.Raw("left", JsonObject().Raw("files", Array(r.leftFiles, PathJson)).Raw("folders", Array(r.leftFolders, PathJson))
                        .Raw("keys", Array(r.leftKeys, PathJson)).Raw("values", Array(r.leftValues, ValueJson)).Done());
    doc.Number("allowedWineChanges", r.allowed);
    doc.Raw("findings", Array(r.findings, [](const VerifyFinding& f) {
        return JsonObject().Text("kind", f.kind).Text("subject", f.subject).Text("detail", f.detail).Done();
    }));
    return doc.Done() + "\n";
}
