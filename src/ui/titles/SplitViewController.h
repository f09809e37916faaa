#pragma once

#include <QSplitter>

#include <memory>

class AppModel;

class QVariantAnimation;
class RegisteredWordViewController;
class SplittedWordViewController;
class TitleViewController;

// The window's content: the title list on the left, the text with its split
// words in the middle, the registered words on the right. The side panes
// keep their width limits and collapse and expand, animated.
class SplitViewController : public QSplitter {
    Q_OBJECT
public:
    enum class Pane { left, right };

    static constexpr int leftMinimumWidth = 100;
    static constexpr int leftMaximumWidth = 250;
    static constexpr int rightMinimumWidth = 220;
    static constexpr int rightMaximumWidth = 800;

    // The panes show the model of the shared ViewModelFactory.
    explicit SplitViewController(QWidget* parent = nullptr);
    SplitViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    QWidget* leftPane() const { return leftPane_; }
    QWidget* middlePane() const { return middlePane_; }
    QWidget* rightPane() const { return rightPane_; }
    TitleViewController* titleViewController() const { return titleViewController_; }
    // The middle pane and the right pane as what they are.
    SplittedWordViewController* splittedWordViewController() const { return splitted_; }
    RegisteredWordViewController* registeredWordViewController() const { return registered_; }

    // The state a pane is in, or is animating towards.
    bool isCollapsed(Pane pane) const;
    void setCollapsed(Pane pane, bool collapsed);
    void toggle(Pane pane) { setCollapsed(pane, !isCollapsed(pane)); }
    bool isAnimating(Pane pane) const;
    // A side pane's width as the user left it (when collapsed, the width it
    // had before), and both set back, each kept within its limits.
    int sideWidth(Pane pane) const;
    void setSideWidths(int left, int right);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SidePane {
        QWidget* widget = nullptr;
        int minimumWidth = 0;
        int maximumWidth = 0;
        bool collapsed = false;
        int widthBeforeCollapse = 0;
        QVariantAnimation* animation = nullptr;
    };

    void viewDidLoad();
    // Builds the middle and the right pane.
    void makePanes(const std::shared_ptr<AppModel>& model);
    SidePane& side(Pane pane) { return pane == Pane::left ? left_ : right_; }
    const SidePane& side(Pane pane) const { return pane == Pane::left ? left_ : right_; }
    void restoreLimits(SidePane& pane);

    TitleViewController* titleViewController_ = nullptr;
    SplittedWordViewController* splitted_ = nullptr;
    RegisteredWordViewController* registered_ = nullptr;
    QWidget* leftPane_ = nullptr;
    QWidget* middlePane_ = nullptr;
    QWidget* rightPane_ = nullptr;
    SidePane left_;
    SidePane right_;
    int reportedRightWidth_ = -1;
};
