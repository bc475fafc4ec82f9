#include "support/FakeDesktop.h"

#include <utility>

namespace quillon::fakes {

namespace {

class FakeInstanceToken final : public InstanceToken {
public:
    FakeInstanceToken(std::shared_ptr<std::multiset<std::string>> claimed, std::string name, bool another)
        : claimed_(std::move(claimed)), name_(std::move(name)), another_(another) {
        claimed_->insert(name_);
    }
    FakeInstanceToken(const FakeInstanceToken&) = delete;
    FakeInstanceToken& operator=(const FakeInstanceToken&) = delete;
    ~FakeInstanceToken() override { claimed_->erase(claimed_->find(name_)); }

    bool anotherWasRunning() const override { return another_; }

private:
    std::shared_ptr<std::multiset<std::string>> claimed_;
    std::string name_;
    bool another_;
};

}  // namespace

Status FakeDesktop::startProgram(std::string_view commandLine, bool wait) {
    started_.push_back({std::string(commandLine), wait});
    if (wait && whileWaiting_) whileWaiting_();
    return Status::Ok;
}

std::unique_ptr<InstanceToken> FakeDesktop::claimInstance(std::string_view name) {
    // Object names are case-sensitive, as the system's mutex names are.
    const bool another = anotherRunning_ || claimed_->contains(std::string(name));
    return std::make_unique<FakeInstanceToken>(claimed_, std::string(name), another);
}

}  // namespace quillon::fakes
