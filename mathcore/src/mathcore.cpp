// Placeholder translation unit so the static library always has one source file.
namespace mathcore {
int version() { return 1; }
}  // namespace mathcore
