#include "ui/titles/ViewController.h"

ViewController::ViewController(QWidget* parent)
    : QWidget(parent) {}
