# Sourced by the benchmarks. make_corpus SIZE DIR makes the standard product corpus of SIZE
# (small: 20 MB in 500 files, large: 300 MB in 5000 files) in DIR/corpus, once. The corpus
# script lies beside the repository (../shared/bench/make-corpus.sh), unless MAKE_CORPUS names it.
corpus_tool=${MAKE_CORPUS:-$top/../shared/bench/make-corpus.sh}
[ -f "$corpus_tool" ] || { echo "corpus script not found: $corpus_tool (set MAKE_CORPUS)" >&2; exit 2; }

make_corpus() {
    local args
    case $1 in
        small) args="20 500" ;;
        large) args="300 5000" ;;
        *) echo "unknown corpus $1" >&2; exit 2 ;;
    esac
    if [ ! -f "$2/.complete" ]; then
        rm -rf "$2"
        bash "$corpus_tool" $args "$2/corpus" >/dev/null
        touch "$2/.complete"
    fi
}
