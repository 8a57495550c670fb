# Sourced by the release tests. Copies the source as git sees it into a new folder:
# tracked files and new ones that are not ignored, uncommitted changes included, no
# build folder. The copies get new times, which no release file may carry.
copy_source() { # source-dir new-dir
    local to
    to=$(realpath -m "$2") && mkdir -p "$to"
    (cd "$1" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
        xargs -0 cp --parents -t "$to")
}
