# Sourced by the end-to-end scripts: a scratch folder `work` removed on exit, the helpers they all
# use, and Quillset's program folder laid out as the build stages it. Expects `top` (the source
# folder) to be set.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# stage_program_folder FOLDER QSBUILD_NAME QSBUILD SETUP_EXE SFX_EXE UNINSTALL_EXE
# The builder under QSBUILD_NAME, the installer programs below setup/ and the language sets.
stage_program_folder() {
    mkdir -p "$1/setup"
    cp "$3" "$1/$2"
    cp "$4" "$1/setup/_setup.exe"
    cp "$5" "$1/setup/_sfx.exe"
    cp "$6" "$1/setup/_uninstall.exe"
    cp -r "$top/LanguageSets" "$1/"
}

# Sets `native` to the native qsbuild that scripts/test.sh has just built (a release build may be
# older), or skips the test when there is none.
find_native_qsbuild() {
    native=""
    for candidate in "$top/build/asan/src/cli/qsbuild" "$top/build/release/src/cli/qsbuild"; do
        [ -x "$candidate" ] && { native=$candidate; return; }
    done
    echo "SKIP: no native qsbuild in build/asan or build/release"
    exit 77
}
