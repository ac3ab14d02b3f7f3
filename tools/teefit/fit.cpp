// Levenberg-Marquardt with Marquardt scaling and a small weight penalty (it
// keeps the hidden units from growing steep enough to oscillate between grid
// points). Plain loops in a fixed order and a private random generator keep
// the result reproducible bit for bit on a given platform.
#include "fit.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace teefit {
namespace {

constexpr double kPenalty = 1e-4;

struct Layout {
    int h, np;
    int C(int k) const { return k; }
    int W(int k, int m) const { return h + 5 * k + m; }
    int V(int k) const { return 6 * h + k; }
    int B() const { return 7 * h; }
};

double Uniform(std::mt19937_64& g, double lo, double hi) {
    const double u = static_cast<double>(g() >> 11) * (1.0 / 9007199254740992.0);
    return lo + (hi - lo) * u;
}

void Features(double q, double a, double f[5]) {
    f[0] = q;
    f[1] = a;
    f[2] = q * q;
    f[3] = a * a;
    f[4] = a * q;
}

double Output(const Layout& L, const std::vector<double>& p, const double f[5], double* h) {
    double y = p[L.B()];
    for (int k = 0; k < L.h; ++k) {
        double s = p[L.C(k)];
        for (int m = 0; m < 5; ++m) s += p[L.W(k, m)] * f[m];
        h[k] = std::tanh(s);
        y += p[L.V(k)] * h[k];
    }
    return y;
}

double Cost(const Layout& L, const std::vector<double>& p, const std::vector<Sample>& data,
            std::vector<double>& h) {
    double cost = 0;
    double f[5];
    for (const Sample& s : data) {
        Features(s.q, s.a, f);
        const double r = Residual(s, Output(L, p, f, h.data()));
        cost += r * r;
    }
    for (int j = 0; j < L.np; ++j) cost += kPenalty * p[j] * p[j];
    return cost;
}

// Solves A x = b for symmetric positive definite A (n x n, row-major) in place.
bool Cholesky(std::vector<double>& A, std::vector<double>& x, int n) {
    for (int j = 0; j < n; ++j) {
        double d = A[j * n + j];
        for (int k = 0; k < j; ++k) d -= A[j * n + k] * A[j * n + k];
        if (!(d > 0)) return false;
        d = std::sqrt(d);
        A[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = A[i * n + j];
            for (int k = 0; k < j; ++k) s -= A[i * n + k] * A[j * n + k];
            A[i * n + j] = s / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        double s = x[i];
        for (int k = 0; k < i; ++k) s -= A[i * n + k] * x[k];
        x[i] = s / A[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = x[i];
        for (int k = i + 1; k < n; ++k) s -= A[k * n + i] * x[k];
        x[i] = s / A[i * n + i];
    }
    return true;
}

// Runs `iters` LM iterations on p; returns the final cost.
double Iterate(const Layout& L, std::vector<double>& p, const std::vector<Sample>& data, int iters) {
    const int n = L.np;
    std::vector<double> h(L.h), jrow(n), JtJ(n * n), g(n), A(n * n), step(n), trial(n);
    double lambda = 1e-2;
    double cost = Cost(L, p, data, h);
    double f[5];
    for (int it = 0; it < iters; ++it) {
        std::fill(JtJ.begin(), JtJ.end(), 0.0);
        std::fill(g.begin(), g.end(), 0.0);
        for (const Sample& s : data) {
            Features(s.q, s.a, f);
            const double y = Output(L, p, f, h.data());
            const double r = Residual(s, y);
            if (r == 0.0) continue;  // open side of a bound: no gradient
            for (int k = 0; k < L.h; ++k) {
                const double d = p[L.V(k)] * (1.0 - h[k] * h[k]);
                jrow[L.C(k)] = d;
                for (int m = 0; m < 5; ++m) jrow[L.W(k, m)] = d * f[m];
                jrow[L.V(k)] = h[k];
            }
            jrow[L.B()] = 1.0;
            for (int i = 0; i < n; ++i) {
                g[i] += jrow[i] * r;
                const double ji = jrow[i];
                double* row = &JtJ[i * n];
                for (int j = 0; j <= i; ++j) row[j] += ji * jrow[j];
            }
        }
        for (int i = 0; i < n; ++i) {
            g[i] += kPenalty * p[i];
            JtJ[i * n + i] += kPenalty;
        }
        bool improved = false;
        for (int tries = 0; tries < 12 && !improved; ++tries) {
            for (int i = 0; i < n; ++i)
                for (int j = 0; j <= i; ++j) A[i * n + j] = JtJ[i * n + j];
            for (int i = 0; i < n; ++i) A[i * n + i] *= 1.0 + lambda;
            for (int i = 0; i < n; ++i) step[i] = -g[i];
            if (!Cholesky(A, step, n)) {
                lambda *= 10.0;
                continue;
            }
            for (int i = 0; i < n; ++i) trial[i] = p[i] + step[i];
            const double c = Cost(L, trial, data, h);
            if (c < cost) {
                p.swap(trial);
                cost = c;
                lambda = std::max(lambda / 3.0, 1e-9);
                improved = true;
            } else {
                lambda *= 4.0;
            }
        }
        if (!improved) break;  // converged as far as LM can go
    }
    return cost;
}

}  // namespace

double Residual(const Sample& s, double y) {
    const double r = y - s.t;
    if (s.side > 0 && r > 0) return 0.0;
    if (s.side < 0 && r < 0) return 0.0;
    return r;
}

Network FitNetwork(const std::vector<Sample>& data, int hidden, uint64_t seed, const Budget& budget) {
    const Layout L{hidden, 7 * hidden + 1};
    double mean = 0;
    for (const Sample& s : data) mean += s.t;
    mean /= static_cast<double>(data.size());

    std::mt19937_64 gen(seed);
    std::vector<double> best;
    double bestCost = 0;
    for (int start = 0; start < budget.starts; ++start) {
        std::vector<double> p(L.np);
        for (int k = 0; k < hidden; ++k) {
            p[L.C(k)] = Uniform(gen, -1.0, 1.0);
            for (int m = 0; m < 5; ++m) p[L.W(k, m)] = Uniform(gen, -2.0, 2.0);
            p[L.V(k)] = Uniform(gen, -0.5, 0.5);
        }
        p[L.B()] = mean;
        const double c = Iterate(L, p, data, budget.startIters);
        if (best.empty() || c < bestCost) {
            best = p;
            bestCost = c;
        }
    }
    Iterate(L, best, data, budget.finalIters);

    Network net;
    net.hidden = hidden;
    for (int k = 0; k < hidden; ++k) {
        net.c.push_back(best[L.C(k)]);
        for (int m = 0; m < 5; ++m) net.w.push_back(best[L.W(k, m)]);
        net.v.push_back(best[L.V(k)]);
    }
    net.b = best[L.B()];
    return net;
}

}  // namespace teefit
