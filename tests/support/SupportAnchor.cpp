// Keeps the support library non-empty while it holds headers only.
namespace quillon::fakes {
int supportAnchor();
int supportAnchor() { return 0; }
}  // namespace quillon::fakes
