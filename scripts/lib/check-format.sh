# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts: fails when clang-format (the repository's
# .clang-format) would change any tracked C or C++ source.
check_format() {
    local root="$1" unformatted
    # clang-format fails on an unformatted file; the list below says which.
    unformatted="$(cd "$root" && { git ls-files -z '*.c' '*.cpp' '*.h' |
        xargs -0 clang-format --dry-run -Werror 2>&1 || true; } |
        sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u)"
    if [ -n "$unformatted" ]; then
        echo "These files are not formatted; run clang-format -i on them:" >&2
        echo "$unformatted" | sed 's/^/    /' >&2
        return 1
    fi
}
