# Sourced by the release tests, whose first argument is the source folder: a work folder
# removed at the end, fail, no signing settings, the source's time as SOURCE_DATE_EPOCH,
# and copy_source.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A developer's real certificate never signs a test's files; the signing test sets its own.
unset "${!TORNEVO_SIGN_@}" TORNEVO_ALLOW_DIRTY
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$1" log -1 --format=%ct)}

# Copies the source as git sees it into a new folder: tracked files and new ones that are
# not ignored, uncommitted changes included, no build folder. The copies get new times,
# which no release file may carry.
copy_source() { # source-dir new-dir
    local to
    to=$(realpath -m "$2") && mkdir -p "$to"
    (cd "$1" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
        xargs -0 cp --parents -t "$to")
}
